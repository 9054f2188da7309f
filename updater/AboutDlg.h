#pragma once

#include <QDialog>

// The updater's about box: program icon, name and version, and an OK button.
class CAboutDlg : public QDialog
{
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* parent = nullptr);
};
