// SPDX-License-Identifier: MIT

#include "windows/windowrefs.h"

#include "base/moravelterror.h"
#include "windows/form1.h"
#include "windows/form2.h"
#include "windows/form3.h"

#include <QPointer>

namespace moravelt {

namespace {

QPointer<Form1> g_form1;
QPointer<Form2> g_form2;
QPointer<Form3> g_form3;

template <typename Window> Window& registered(const QPointer<Window>& window)
{
    if (!window)
        throw MoraveltError(QStringLiteral("ウィンドウがありません"));
    return *window;
}

} // namespace

Form1& form1()
{
    return registered(g_form1);
}

Form2& form2()
{
    return registered(g_form2);
}

Form3& form3()
{
    return registered(g_form3);
}

bool windowsExist()
{
    return !g_form1.isNull();
}

void registerWindows(Form1* main, Form2* info, Form3* navi)
{
    g_form1 = main;
    g_form2 = info;
    g_form3 = navi;
}

void destroyWindows()
{
    delete g_form1.data();
}

} // namespace moravelt
