// Renders every skin picture and alert sound.
//   skingen <folder>          writes the files into <folder>
//   skingen --check <folder>  exits with 1 when a file there differs from what it renders
#include "tools/skingen/SkinStyle.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>

#include <cstdio>

namespace {

SkinSet Render()
{
    SkinSet skin;
    AddButtons(skin);
    AddBackgrounds(skin);
    AddPictures(skin);
    AddSounds(skin);
    return skin;
}

int Write(const SkinSet& skin, const QString& folder)
{
    for (const auto& [name, bytes] : skin) {
        const QString path = folder + QLatin1Char('/') + name;
        QDir().mkpath(QFileInfo(path).path());
        QFile out(path);
        if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size()) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    std::printf("%zu files written to %s\n", skin.size(), qPrintable(folder));
    return 0;
}

int Check(const SkinSet& skin, const QString& folder)
{
    int differing = 0;
    for (const auto& [name, bytes] : skin) {
        QFile in(folder + QLatin1Char('/') + name);
        if (!in.open(QIODevice::ReadOnly) || in.readAll() != bytes) {
            std::fprintf(stderr, "differs: %s\n", qPrintable(name));
            ++differing;
        }
    }
    return differing == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    // Text is drawn off screen; no display is needed.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 3 && args[1] == QLatin1String("--check"))
        return Check(Render(), args[2]);
    if (args.size() == 2)
        return Write(Render(), args[1]);
    std::fprintf(stderr, "usage: skingen [--check] <folder>\n");
    return 2;
}
