// spectrel-button-images FOLDER [--sheet SHEET.png]
// Draws the shipped button pictures into FOLDER as 16 x 16 bitmaps ("*.bmp", as the button image list reads
// them): a grey key face on magenta, whose top-left pixel makes it transparent, and the symbol of the key.
// Everything is drawn pixel by pixel or with plain, non-antialiased shapes, so the pictures come out the same on
// every machine. tools/button-images.sh writes them to data/ButtonImages.

#include <QColor>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QPolygon>
#include <QString>
#include <cstdio>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace {

constexpr int kSize = 16;
const QColor kTransparent(255, 0, 255);  // the top-left colour: shown as the window background
const QColor kFace(214, 214, 214);
const QColor kEdge(96, 96, 96);
const QColor kInk(0, 48, 128);
const QColor kRed(200, 0, 0);
const QColor kGreen(0, 128, 64);
const QColor kTeal(0, 128, 128);

// Glyphs of a small pixel font, 5 rows high, drawn twice their size.
const std::map<char, std::vector<const char*>> kGlyphs = {
    {'0', {"###", "#.#", "#.#", "#.#", "###"}}, {'1', {".#.", "##.", ".#.", ".#.", "###"}},
    {'2', {"###", "..#", "###", "#..", "###"}}, {'3', {"###", "..#", ".##", "..#", "###"}},
    {'4', {"#.#", "#.#", "###", "..#", "..#"}}, {'5', {"###", "#..", "###", "..#", "###"}},
    {'6', {"###", "#..", "###", "#.#", "###"}}, {'7', {"###", "..#", ".#.", ".#.", ".#."}},
    {'8', {"###", "#.#", "###", "#.#", "###"}}, {'9', {"###", "#.#", "###", "..#", "###"}},
    {'O', {"###", "#.#", "#.#", "#.#", "###"}}, {'K', {"#.#", "#.#", "##.", "#.#", "#.#"}},
    {'i', {".#.", "...", ".#.", ".#.", ".#."}}, {'V', {"#...#", "#...#", ".#.#.", ".#.#.", "..#.."}},
};

void Glyph(QImage& image, char c, int left, int top, const QColor& colour, int scale = 2) {
    const std::vector<const char*>& rows = kGlyphs.at(c);
    for (int y = 0; y < 5; ++y) {
        const std::string row = rows[static_cast<std::size_t>(y)];
        for (int x = 0; x < static_cast<int>(row.size()); ++x) {
            if (row[static_cast<std::size_t>(x)] != '#') continue;
            for (int dy = 0; dy < scale; ++dy) {
                for (int dx = 0; dx < scale; ++dx) image.setPixelColor(left + x * scale + dx, top + y * scale + dy, colour);
            }
        }
    }
}

// The key face: a grey square with a dark edge and cut corners, on the transparent colour.
QImage Face() {
    QImage image(kSize, kSize, QImage::Format_RGB32);
    image.fill(kTransparent);
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            const bool corner = (x == 0 || x == kSize - 1) && (y == 0 || y == kSize - 1);
            if (corner) continue;
            const bool edge = x == 0 || y == 0 || x == kSize - 1 || y == kSize - 1;
            image.setPixelColor(x, y, edge ? kEdge : kFace);
        }
    }
    return image;
}

void Shape(QImage& image, const QColor& colour, const std::function<void(QPainter&)>& draw) {
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(colour);
    painter.setBrush(colour);
    draw(painter);
}

void Triangle(QPainter& p, std::initializer_list<QPoint> points) { p.drawPolygon(QPolygon(QList<QPoint>(points))); }

void Bar(QImage& image, int left, int top, int width, int height, const QColor& colour) {
    for (int y = top; y < top + height; ++y) {
        for (int x = left; x < left + width; ++x) image.setPixelColor(x, y, colour);
    }
}

QImage Digit(char c) {
    QImage image = Face();
    Glyph(image, c, 5, 3, kInk);
    return image;
}

QImage Power() {
    QImage image = Face();
    Shape(image, kGreen, [](QPainter& p) {
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(kGreen, 2));
        p.drawArc(QRect(3, 4, 10, 9), 120 * 16, 300 * 16);
    });
    Bar(image, 7, 2, 2, 6, kGreen);
    return image;
}

// A loudspeaker, optionally with sound waves.
QImage Speaker(bool waves) {
    QImage image = Face();
    Bar(image, 2, 6, 3, 4, kInk);
    Shape(image, kInk, [](QPainter& p) { Triangle(p, {QPoint(4, 7), QPoint(8, 3), QPoint(8, 12), QPoint(4, 8)}); });
    if (waves) {
        Bar(image, 10, 6, 1, 4, kInk);
        Bar(image, 12, 4, 1, 8, kInk);
    }
    return image;
}

QImage Mute() {
    QImage image = Speaker(false);
    for (int i = 0; i < 5; ++i) {
        image.setPixelColor(9 + i, 5 + i, kRed);
        image.setPixelColor(13 - i, 5 + i, kRed);
    }
    return image;
}

QImage Menu() {
    QImage image = Face();
    for (int y : {4, 7, 10}) Bar(image, 3, y, 10, 2, kInk);
    return image;
}

QImage Arrow(int direction) {  // 0 up, 1 down, 2 left, 3 right
    QImage image = Face();
    Shape(image, kInk, [direction](QPainter& p) {
        switch (direction) {
            case 0: Triangle(p, {QPoint(8, 3), QPoint(13, 11), QPoint(3, 11)}); break;
            case 1: Triangle(p, {QPoint(3, 4), QPoint(13, 4), QPoint(8, 12)}); break;
            case 2: Triangle(p, {QPoint(3, 8), QPoint(11, 3), QPoint(11, 13)}); break;
            default: Triangle(p, {QPoint(4, 3), QPoint(12, 8), QPoint(4, 13)}); break;
        }
    });
    return image;
}

QImage Channel() {
    QImage image = Face();
    Shape(image, kInk, [](QPainter& p) {
        Triangle(p, {QPoint(8, 2), QPoint(12, 6), QPoint(4, 6)});
        Triangle(p, {QPoint(4, 9), QPoint(12, 9), QPoint(8, 13)});
    });
    return image;
}

QImage Ok() {
    QImage image = Face();
    Glyph(image, 'O', 1, 3, kInk);
    Glyph(image, 'K', 9, 3, kInk);
    return image;
}

QImage Play() {
    QImage image = Face();
    Shape(image, kGreen, [](QPainter& p) { Triangle(p, {QPoint(5, 3), QPoint(12, 8), QPoint(5, 12)}); });
    return image;
}

QImage Pause() {
    QImage image = Face();
    Bar(image, 4, 3, 3, 10, kInk);
    Bar(image, 9, 3, 3, 10, kInk);
    return image;
}

QImage Stop() {
    QImage image = Face();
    Bar(image, 4, 4, 8, 8, kInk);
    return image;
}

QImage Record() {
    QImage image = Face();
    Shape(image, kRed, [](QPainter& p) { p.drawEllipse(QRect(4, 4, 7, 7)); });
    return image;
}

QImage Wind(bool forward) {
    QImage image = Face();
    Shape(image, kInk, [forward](QPainter& p) {
        if (forward) {
            Triangle(p, {QPoint(2, 4), QPoint(7, 8), QPoint(2, 12)});
            Triangle(p, {QPoint(8, 4), QPoint(13, 8), QPoint(8, 12)});
        } else {
            Triangle(p, {QPoint(7, 4), QPoint(2, 8), QPoint(7, 12)});
            Triangle(p, {QPoint(13, 4), QPoint(8, 8), QPoint(13, 12)});
        }
    });
    return image;
}

QImage Input() {
    QImage image = Face();
    // A box open on the left, an arrow going into it.
    Bar(image, 8, 3, 6, 1, kInk);
    Bar(image, 8, 12, 6, 1, kInk);
    Bar(image, 13, 3, 1, 10, kInk);
    Bar(image, 2, 7, 7, 2, kInk);
    Shape(image, kInk, [](QPainter& p) { Triangle(p, {QPoint(8, 4), QPoint(11, 8), QPoint(8, 11)}); });
    return image;
}

QImage Info() {
    QImage image = Face();
    Glyph(image, 'i', 5, 3, kInk);
    return image;
}

QImage Exit() {
    QImage image = Face();
    // A door frame and an arrow leaving it.
    Bar(image, 2, 3, 1, 10, kInk);
    Bar(image, 2, 3, 6, 1, kInk);
    Bar(image, 2, 12, 6, 1, kInk);
    Bar(image, 5, 7, 6, 2, kRed);
    Shape(image, kRed, [](QPainter& p) { Triangle(p, {QPoint(10, 4), QPoint(14, 8), QPoint(10, 11)}); });
    return image;
}

QImage Back() {
    QImage image = Face();
    // A hook: up from the bottom right, across the top, and an arrow head pointing left.
    Bar(image, 11, 5, 2, 7, kInk);
    Bar(image, 6, 5, 7, 2, kInk);
    Shape(image, kInk, [](QPainter& p) { Triangle(p, {QPoint(6, 2), QPoint(2, 6), QPoint(6, 9)}); });
    Bar(image, 6, 10, 7, 2, kInk);
    return image;
}

QImage Vanta() {
    QImage image = Face();
    Glyph(image, 'V', 3, 3, kTeal);
    return image;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2 && !(argc == 4 && std::string(argv[2]) == "--sheet")) {
        std::fprintf(stderr, "usage: spectrel-button-images FOLDER [--sheet SHEET.png]\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!folder.mkpath(".")) {
        std::fprintf(stderr, "spectrel-button-images: cannot create %s\n", argv[1]);
        return 1;
    }
    std::vector<std::pair<std::string, QImage>> pictures;
    for (char c = '0'; c <= '9'; ++c) pictures.emplace_back(std::string(1, c), Digit(c));
    pictures.insert(pictures.end(), {
                                        {"POWER", Power()},       {"ON", Power()},          {"OFF", Power()},
                                        {"VOLUME", Speaker(true)}, {"VOL", Speaker(true)},  {"MUTE", Mute()},
                                        {"CHANNEL", Channel()},   {"CH", Channel()},        {"MENU", Menu()},
                                        {"UP", Arrow(0)},         {"DOWN", Arrow(1)},       {"LEFT", Arrow(2)},
                                        {"RIGHT", Arrow(3)},      {"OK", Ok()},             {"ENTER", Ok()},
                                        {"PLAY", Play()},         {"PAUSE", Pause()},       {"STOP", Stop()},
                                        {"RECORD", Record()},     {"REC", Record()},        {"REWIND", Wind(false)},
                                        {"REW", Wind(false)},     {"FORWARD", Wind(true)},  {"FF", Wind(true)},
                                        {"INPUT", Input()},       {"SOURCE", Input()},      {"INFO", Info()},
                                        {"EXIT", Exit()},         {"BACK", Back()},         {"VANTA", Vanta()},
                                    });
    for (const auto& [name, image] : pictures) {
        const QString file = folder.filePath(QString::fromStdString(name) + ".bmp");
        if (!image.save(file, "BMP")) {
            std::fprintf(stderr, "spectrel-button-images: cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    if (argc == 4) {
        // Every picture four times its size on one sheet, for a person to look at.
        constexpr int kZoom = 4;
        constexpr int kColumns = 10;
        constexpr int kCell = kSize * kZoom + 8;
        const int rows = (static_cast<int>(pictures.size()) + kColumns - 1) / kColumns;
        QImage sheet(kColumns * kCell, rows * kCell, QImage::Format_RGB32);
        sheet.fill(Qt::white);
        QPainter painter(&sheet);
        for (std::size_t i = 0; i < pictures.size(); ++i) {
            const int column = static_cast<int>(i) % kColumns;
            const int row = static_cast<int>(i) / kColumns;
            painter.drawImage(QRect(column * kCell + 4, row * kCell + 4, kSize * kZoom, kSize * kZoom),
                              pictures[i].second);
        }
        painter.end();
        if (!sheet.save(QString::fromLocal8Bit(argv[3]))) return 1;
    }
    return 0;
}
