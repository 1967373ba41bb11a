// SPDX-License-Identifier: MIT

#include "base/playermessage.h"

#include "base/moravelterror.h"

#include <new>

namespace moravelt {

QString playerMessage(std::exception_ptr failure)
{
    try {
        std::rethrow_exception(failure);
    } catch (const MoraveltError& error) {
        return error.message();
    } catch (const std::bad_alloc&) {
        return QStringLiteral("メモリが足りないため、処理を中止しました。");
    } catch (const std::exception& error) {
        return QStringLiteral("処理中にエラーが発生しました。\n%1")
            .arg(QString::fromLocal8Bit(error.what()));
    } catch (...) {
        return QStringLiteral("処理中に不明なエラーが発生しました。");
    }
}

QString playerMessage()
{
    return playerMessage(std::current_exception());
}

} // namespace moravelt
