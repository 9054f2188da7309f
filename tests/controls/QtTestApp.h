#pragma once

#include <QApplication>
#include <QImage>
#include <QPalette>
#include <QString>
#include <QWidget>

#include <string>

// One application object for all tests of the executable, on the offscreen platform unless
// the environment names another one.
inline QApplication& TestApp()
{
    static int argc = 1;
    static char name[] = "controls_tests";
    static char* argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}

// Writes a picture for a test; the format follows the file's extension.
inline std::string SaveImage(const QImage& image, const std::string& path)
{
    image.save(QString::fromStdString(path));
    return path;
}

// A parent window of one plain colour, so tests can tell what a control left unpainted.
inline void PaintGround(QWidget& parent, const QColor& colour, const QSize& size)
{
    parent.resize(size);
    parent.setAutoFillBackground(true);
    QPalette pal;
    pal.setColor(QPalette::Window, colour);
    parent.setPalette(pal);
}
