#pragma once

#include <QListView>

// The drop-down list of CNewBitComboBox: white ground, black items indented by 2 pixels, and
// the item under the pointer marked while the list is open.
class CBitListBox : public QListView
{
    Q_OBJECT
public:
    explicit CBitListBox(QWidget* parent = nullptr);

    // Height of every item in pixels.
    void SetItemHeight(int height);
    int ItemHeight() const { return m_itemHeight; }

private:
    int m_itemHeight = 18;
};
