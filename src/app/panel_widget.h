#pragma once
#include <QLabel>

#include <cstdint>

// A raised panel with a caption, used as a status lamp or as a clickable command: it reports
// every mouse-down with its button and a left-button click (press and release inside it).
class TPanel : public QLabel {
    Q_OBJECT
public:
    explicit TPanel(QWidget* parent = nullptr);

    // Background colour as 0xRRGGBB; the caption is drawn black or white, whichever reads better.
    void SetColor(std::uint32_t rgb);
    std::uint32_t Color() const { return color_; }

signals:
    void mouseDown(Qt::MouseButton button);
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    std::uint32_t color_ = 0xC0C0C0;
    bool pressed_ = false;
};
