#include "client/model/ProgramFolder.h"
#include "updater/UpdateDlg.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    // The window hides while a closing worker winds down; the program ends with the dialog.
    app.setQuitOnLastWindowClosed(false);
    // Also makes the program folder current, so "skin/..." resolves.
    const std::string folder = ProgramFolder();
    CUpdateDlg dlg(folder + "/");
    QObject::connect(&dlg, &QDialog::finished, &app, &QCoreApplication::quit);
    dlg.show();
    return app.exec();
}
