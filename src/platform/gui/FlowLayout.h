#pragma once
// A layout whose controls wrap into more rows when its widget is too narrow for one
// (PlaceFlowItems of FlowRows.h): each control at least its size hint wide, so the
// layout's least width is its widest control, and as tall as its rows at the width it
// is given (height for width). Hidden controls take no place.

#include <QLayout>
#include <QList>

class TFlowLayout : public QLayout {
public:
    // `uniform`: a grid of equal cells (a group of buttons); else each control at its
    // own width, expanding ones (horizontal policy Expanding) sharing what a row has
    // over.
    explicit TFlowLayout(QWidget* parent = nullptr, bool uniform = false);
    ~TFlowLayout() override;

    void addItem(QLayoutItem* item) override;
    int count() const override;
    QLayoutItem* itemAt(int index) const override;
    QLayoutItem* takeAt(int index) override;

    Qt::Orientations expandingDirections() const override;
    bool hasHeightForWidth() const override;
    int heightForWidth(int width) const override;
    QSize minimumSize() const override;
    QSize sizeHint() const override;
    void setGeometry(const QRect& rect) override;
    // The narrowest the layout shows its controls in at most `rows` rows, margins
    // included.
    int WidthForRows(int rows) const;

private:
    int Spacing() const;

    QList<QLayoutItem*> FItems;
    bool FUniform;
};
