#pragma once

#include <QLabel>
#include <QWidget>

// Page 4: the configuration steps as a picture.
class HelpPage : public QWidget {
    Q_OBJECT
public:
    explicit HelpPage(QWidget *parent = nullptr);

    QLabel *image() const { return img; }

private:
    QLabel *img;
};
