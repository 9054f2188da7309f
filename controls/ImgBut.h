#pragma once

#include <QAbstractButton>
#include <QImage>

class QString;
class QWidget;

// The push button of every window: drawn from a skin strip of four images of equal size
// stacked vertically (normal, hover, pressed, locked/checked), magenta transparent.
//
// Usage: a member of its window; CreateButton places it at a pixel position in its parent;
// clicks arrive as Clicked(id). The client shows the hand cursor over its buttons; the
// updater constructs its buttons with Cursor::Unchanged.
class CImgBut : public QAbstractButton
{
    Q_OBJECT
public:
    enum class Cursor
    {
        Hand,
        Unchanged
    };

    explicit CImgBut(Cursor cursor = Cursor::Hand);
    ~CImgBut() override;

    // Loads the strip and makes the button a visible child of `parent` with the size of one
    // state image, its top-left corner at (x, y). Returns 1, or 0 without showing anything
    // when the strip cannot be loaded.
    int CreateButton(const QString& file, QWidget* parent, int id, int x, int y);

    // Replaces the strip; the button keeps its size. Returns 1, or 0 when the file cannot be
    // loaded, which leaves the button without a strip (it draws nothing).
    int SetButtonImage(const QString& file);

    // Shows `text` as the button's tooltip; an empty text changes nothing.
    void SetTooltipText(const QString& text);

    // While locked the button ignores hover; locked or checked draws the fourth image.
    void SetLocked(bool locked);
    void SetCheckedImage(bool checked);

    int Id() const { return m_id; }
    bool IsHover() const { return m_bHover; }
    // Size of one state image of the current strip (empty without a strip).
    QSize StateSize() const;
    // Which of the four images is drawn over image 0 now.
    int StateImage() const;

Q_SIGNALS:
    void Clicked(int id);

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    bool loadStrip(const QString& file);

    Cursor m_cursor;
    int m_id = 0;
    bool m_bHover = false;
    bool m_bLocked = false;
    bool m_bChecked = false;
    QImage m_strip; // keyed: the transparent colour has alpha 0
};
