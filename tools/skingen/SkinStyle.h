#pragma once

#include <QByteArray>
#include <QColor>
#include <QFont>
#include <QImage>
#include <QString>

#include <functional>
#include <map>

class QPainter;
class QRect;

// Every skin file by its name below skin/, as the bytes that go into the file.
using SkinSet = std::map<QString, QByteArray>;

// The one look of all windows: light blue-grey panels under a blue title band, red for a
// rise and green for a fall as on the A-share market.
namespace Style {

inline const QColor kBannerTop(66, 126, 190);
inline const QColor kBannerBottom(43, 96, 152);
inline const QColor kBannerMid(54, 111, 171);
inline const QColor kPanel(226, 234, 240);     // dialogs and the login panel
inline const QColor kMainPanel(220, 240, 246); // the main panel's own background colour
inline const QColor kLine(169, 188, 205);
inline const QColor kText(43, 58, 74);
inline const QColor kSubtle(110, 126, 142);
inline const QColor kAccent(47, 109, 176);
inline const QColor kRise(224, 52, 44);
inline const QColor kFall(0, 153, 51);
inline const QColor kUpdaterWindow(239, 239, 239);
inline const QColor kMagenta(255, 0, 255);

// The CJK face every caption is drawn with, named so the output does not depend on defaults.
QFont Font(int pixelSize, bool bold = false);
void Text(QPainter& p, const QRect& rect, const QString& text, int pixelSize, const QColor& colour,
          bool bold = false, int flags = Qt::AlignLeft | Qt::AlignVCenter);

// The blue title band with an optional caption.
void Banner(QPainter& p, const QRect& rect, const QString& title = QString());
// A light band with a hairline on top, where a window keeps its buttons.
void Footer(QPainter& p, const QRect& rect);
// The program's mark: a rounded square with a red and a green candle.
void Logo(QPainter& p, const QRect& rect);

// A four-state button strip. `draw` paints state k (0 normal, 1 hover, 2 pressed, 3 locked)
// into a transparent state image; what stays transparent becomes magenta, and soft edges
// are blended onto `matte`, the colour the button sits on.
QImage Strip(int width, int height, const QColor& matte,
             const std::function<void(QPainter&, const QRect&, int)>& draw);
// Transparent pixels to magenta, the rest blended onto `matte`.
QImage Flatten(const QImage& argb, const QColor& matte);
// Transparent pixels to magenta, the rest kept at full strength (for pictures whose
// background is not known, such as the tray images).
QImage Threshold(const QImage& argb);

QByteArray Bmp(const QImage& image);
QByteArray Png(const QImage& image);

} // namespace Style

void AddButtons(SkinSet& skin);
void AddBackgrounds(SkinSet& skin);
void AddPictures(SkinSet& skin);
void AddSounds(SkinSet& skin);
