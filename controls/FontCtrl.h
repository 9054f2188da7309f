#pragma once

#include <QColor>
#include <QString>
#include <QWidget>

// A one-line text label painted over whatever its parent drew beneath it: no background, no
// mnemonic ("&" shows as it is), an ellipsis when the text does not fit.
//
// Usage: Create it in the parent, then set text, colour, height (and face, alignment,
// underline) and let it repaint.
class CFontCtrl : public QWidget
{
    Q_OBJECT
public:
    enum Alignment
    {
        Centre = 0,
        Right = 1,
        Left = 2 // any other value aligns left too
    };

    explicit CFontCtrl(QWidget* parent = nullptr);

    // Makes the label a visible child of `parent` at `rect` (parent pixels) with that id.
    void Create(QWidget* parent, const QRect& rect, int id);

    void SetText(const QString& text);
    // An empty face uses the platform's default; at most 31 bytes of the name are used.
    void SetFaceName(const QString& face);
    // Font height in pixels; 0 keeps the default size. Starts at 12.
    void SetHeight(int height);
    void SetColour(const QColor& colour); // starts white
    void SetAlignment(int alignment);     // starts left
    void SetUnderline(int underline);     // only 1 underlines

    int Id() const { return m_id; }
    QString Text() const { return m_text; }
    // The font the label paints with.
    QFont PaintFont() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int m_id = 0;
    QString m_text;
    QString m_faceName;
    int m_height = 12;
    QColor m_colour = QColor(255, 255, 255);
    int m_alignment = Left;
    int m_underline = 0;
};
