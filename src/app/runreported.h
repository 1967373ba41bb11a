#pragma once

#include "app/moravelterror.h"
#include "app/prompt.h"

#include <exception>
#include <new>
#include <utility>

namespace moravelt {

// Runs the work that an event handler started and shows its failure in one "モラベルト" box,
// so that no exception is ever thrown through Qt's event delivery. True when the work ended
// without a failure.
template <typename Work> bool runReported(Prompt& prompt, Work&& work)
{
    try {
        std::forward<Work>(work)();
        return true;
    } catch (const MoraveltError& error) {
        prompt.reportError(error.message());
    } catch (const std::bad_alloc&) {
        prompt.reportError(QStringLiteral("メモリが足りないため、処理を中止しました。"));
    } catch (const std::exception& error) {
        prompt.reportError(QStringLiteral("処理中にエラーが発生しました。\n%1")
                               .arg(QString::fromLocal8Bit(error.what())));
    }
    return false;
}

} // namespace moravelt
