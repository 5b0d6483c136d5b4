#include "HelpPage.h"

#include "HelpPicture.h"

#include <QScrollArea>
#include <QVBoxLayout>

HelpPage::HelpPage(QWidget *parent)
    : QWidget(parent)
    , img(new QLabel) {
    // On a screen smaller than the window the page is lower than the picture; it scrolls.
    auto *sheet = new QWidget;
    sheet->setFixedSize(8 + 761 + 8, 8 + 521 + 8);
    img->setParent(sheet);
    img->setGeometry(8, 8, 761, 521);
    img->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    img->setPixmap(HelpPicture::render());
    auto *scroll = new QScrollArea(this);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidget(sheet);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(scroll);
}
