#pragma once

#include <QLabel>
#include <QProgressBar>
#include <QString>
#include <QWidget>

// The window's status bar `stat1`: panel 0 a centred text, panel 1 the port discs, panel 2 the
// status text, panel 3 the progress bar `pb1` laid over it.
class StatusPanels : public QWidget {
    Q_OBJECT
public:
    static constexpr int Height = 24;
    static constexpr int PanelCount = 4;

    explicit StatusPanels(QWidget *parent = nullptr);

    QRect panelRect(int panel) const;
    static int panelWidth(int panel);

    QString panelText(int panel) const;
    // The panel's text as drawn: cut with an ellipsis where the panel is too narrow for it.
    QString shownText(int panel) const;
    // Panels 0 and 2 carry text; the others ignore it.
    void setPanelText(int panel, const QString &text);

    QProgressBar *progressBar() const { return pb1; }

    // Red disc while the port is closed, green while it is open.
    void showPortOpen(bool open);
    bool portShownOpen() const { return shownOpen; }
    const QLabel *closedDisc() const { return img1; }
    const QLabel *openDisc() const { return img2; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void stat1DrawPanel(int panel);
    QRect textRect(int panel) const;

    QString texts[PanelCount];
    QProgressBar *pb1;
    QLabel *img1;
    QLabel *img2;
    bool shownOpen = false;
};
