#pragma once
// TKOR_Header: the caption bar above a column of a window: 30 pixels high, dark blue, its caption in bold white
// 21-pixel text at the left.

#include <QColor>
#include <QString>
#include <QWidget>

namespace spectrel::shell {

inline constexpr int kHeaderHeight = 30;
inline constexpr int kHeaderFontPixels = 21;
inline const QColor kHeaderColour{0, 0, 79};

class TKOR_Header : public QWidget {
    Q_OBJECT
public:
    explicit TKOR_Header(const QString& caption = {}, QWidget* parent = nullptr);

    void SetCaption(const QString& caption);
    QString Caption() const { return caption_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString caption_;
};

}  // namespace spectrel::shell
