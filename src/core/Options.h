#pragma once
#include <QString>

// The options record (the row of T_Option whose ID is 3) as the program holds it.
struct Options {
    QString PassL;     // ordinary user's password
    QString PassH;     // administrator's password
    QString MingCheng; // business name shown in the main window's caption
    int SSTab_Index = 0;
    bool Show_ZCB = false;
    bool Show_JHZJE = false;
    bool Show_LSJ = false;
    bool Show_PFJ = false;
    bool Show_DBJ = false;
    bool QX_TZin0 = false;
    bool QX_TZin = false;
    bool QX_TZedit = false;
    bool QX_TZfx = false;
    bool QX_INfx = false;
    long Ver_ID = 0;
};

namespace app {
inline const QString kTitle = QStringLiteral("Vostrel");
inline const QString kVersion = QStringLiteral("3.6");
// Written by the data-file creator and by data initialisation.
inline const QString kDefaultAdminPassword = QStringLiteral("8");
inline const QString kDefaultUserPassword = QStringLiteral("1");
} // namespace app
