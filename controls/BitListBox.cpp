#include "controls/BitListBox.h"

#include <QPainter>
#include <QStyledItemDelegate>

namespace {

class ItemDelegate : public QStyledItemDelegate
{
public:
    ItemDelegate(CBitListBox* list) : QStyledItemDelegate(list), m_list(list) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override
    {
        painter->save();
        const bool marked = option.state & (QStyle::State_MouseOver | QStyle::State_Selected);
        painter->fillRect(option.rect, marked ? QColor(214, 228, 242) : QColor(Qt::white));
        painter->setPen(Qt::black);
        painter->setFont(option.font);
        painter->drawText(option.rect.adjusted(2, 0, 0, 0),
                          Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                          index.data(Qt::DisplayRole).toString());
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        size.setHeight(m_list->ItemHeight());
        return size;
    }

private:
    CBitListBox* m_list;
};

} // namespace

CBitListBox::CBitListBox(QWidget* parent) : QListView(parent)
{
    setItemDelegate(new ItemDelegate(this));
    setMouseTracking(true);
    setFrameShape(QFrame::Box);
    setUniformItemSizes(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Base, Qt::white);
    pal.setColor(QPalette::Text, Qt::black);
    setPalette(pal);
}

void CBitListBox::SetItemHeight(int height)
{
    m_itemHeight = height > 0 ? height : 18;
    doItemsLayout();
}
