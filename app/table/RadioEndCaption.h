#pragma once

#include <QLabel>

// The band across the channel table above its first row that is not on the
// connected radio: a line, and the words that say so. It lies on the
// table's viewport, over the top of that row, which is drawn taller.
class RadioEndCaption : public QLabel
{
    Q_OBJECT
public:
    explicit RadioEndCaption(QWidget *viewport);

protected:
    void paintEvent(QPaintEvent *event) override;
};
