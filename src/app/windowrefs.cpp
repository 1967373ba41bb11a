#include "app/windowrefs.h"

#include "app/form1.h"
#include "app/form2.h"
#include "app/form3.h"
#include "app/moravelterror.h"

#include <QPointer>

namespace moravelt {

namespace {

QPointer<Form1> g_form1;
QPointer<Form2> g_form2;
QPointer<Form3> g_form3;

} // namespace

Form1& form1()
{
    if (!g_form1)
        throw MoraveltError(QStringLiteral("メインウィンドウがありません"));
    return *g_form1;
}

void registerForm1(Form1* window)
{
    g_form1 = window;
}

Form2& form2()
{
    if (!g_form2)
        g_form2 = new Form2;
    return *g_form2;
}

Form3& form3()
{
    if (!g_form3)
        g_form3 = new Form3;
    return *g_form3;
}

bool form2Exists()
{
    return !g_form2.isNull();
}

bool form3Exists()
{
    return !g_form3.isNull();
}

void destroyWindows()
{
    delete g_form2.data();
    delete g_form3.data();
    delete g_form1.data();
}

} // namespace moravelt
