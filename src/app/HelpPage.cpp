#include "HelpPage.h"

#include "HelpPicture.h"

HelpPage::HelpPage(QWidget *parent)
    : QWidget(parent)
    , img(new QLabel(this)) {
    img->setGeometry(8, 8, 761, 521);
    img->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    img->setPixmap(HelpPicture::render());
}
