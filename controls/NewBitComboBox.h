#pragma once

#include "controls/SRImage.h"

#include <QComboBox>

class CBitListBox;

// A combo box whose closed box is painted from three skin images (left end, stretched
// middle, right end with the arrow) and whose drop-down list is a white CBitListBox. Apart
// from painting it is an ordinary QComboBox: fill it, read it and connect to its signals
// (editTextChanged, currentIndexChanged) as usual.
class CNewBitComboBox : public QComboBox
{
    Q_OBJECT
public:
    enum Kind
    {
        DropDown,    // editable
        DropDownList // choose only
    };

    explicit CNewBitComboBox(QWidget* parent = nullptr);

    // Makes the combo a visible child of `parent`. `rect` includes the drop-down list: its
    // top-left corner and width place the closed box, its height bounds the list.
    void Create(Kind kind, const QRect& rect, QWidget* parent, int id);
    // Loads the three images; the closed box takes the middle image's height. A missing file
    // leaves its part of the box unpainted.
    void SetComboImages(const QString& left, const QString& right, const QString& middle);
    // The font of the box and the list; the colour is accepted for callers' sake and unused.
    void SetComboFont(const QFont& font, const QColor& colour = QColor());
    void SetItemHeight(int height);

    int Id() const { return m_id; }
    CBitListBox* List() const { return m_list; }
    // The font the closed box draws its text with ("宋体" at 12 pixels).
    static QFont BoxFont();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void placeEditor();
    void fitList();

    int m_id = 0;
    int m_listHeight = 0;
    CBitListBox* m_list;
    SRImage m_left;
    SRImage m_middle;
    SRImage m_right;
};
