#include "client/model/ProgramFolder.h"
#include "updater/UpdateDlg.h"

#include <QApplication>
#include <curl/curl.h>

int main(int argc, char** argv)
{
    // Once, before any thread exists: the worker's transfers must not race to initialise it.
    if (curl_global_init(CURL_GLOBAL_DEFAULT) != CURLE_OK)
        return 1;
    struct CurlCleanup
    {
        ~CurlCleanup() { curl_global_cleanup(); }
    } curlCleanup;
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
