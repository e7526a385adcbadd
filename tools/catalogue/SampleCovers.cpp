// tagwright-sample-covers DIR: draws the front covers of the bundled sample catalogue into
// DIR/images/<ASIN>.jpg. The albums are made up; so are their covers: a night-sky
// gradient with a band of light, the title and the artist.
#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <cstdio>

namespace {

struct SampleCover {
    const char *asin;
    const char *title;
    const char *artist;
    int hue;  // of the band of light, 0-359
};

const SampleCover sampleCovers[] = {
    {"B0TW000001", "Northern Lights", "The Halvard Quartet", 150},
    {"B0TW000002", "Northern Lights: Live at Harbour Hall", "Mira Okafor", 300},
    {"B0TW000003", "Songs Under Northern Lights", "Elin Varga & Tomasz Reed", 40},
    {"B0TW000004", "Northern Lights (Single)", "Juno Brightwater", 190},
    {"B0TW000005", "Under Northern Lights", "Aurora Drift", 120},
    {"B0TW000007", "Lights of the North, Vol. 2", "The Lantern Society", 55},
    {"B0TW000008", "Northern Lights Lullabies", "Solveig Amundsen", 270},
    {"B0TW000009", "Northern Lights Motel", "Marrow & Pine", 0},
    {"B0TW000010", "Gravel and Rain", "Kestrel Road", 25},
};

constexpr int coverSize = 300;

QImage drawCover(const SampleCover &cover)
{
    QImage image(coverSize, coverSize, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);

    QLinearGradient sky(0, 0, 0, coverSize);
    sky.setColorAt(0, QColor::fromHsv(230, 200, 40));
    sky.setColorAt(1, QColor::fromHsv(220, 160, 90));
    painter.fillRect(image.rect(), sky);

    // Three soft waves of light across the upper half.
    for (int wave = 0; wave < 3; ++wave) {
        QPainterPath band;
        const qreal top = 60 + wave * 28;
        band.moveTo(0, top + 40);
        band.cubicTo(coverSize * 0.3, top - 30, coverSize * 0.6, top + 80, coverSize, top);
        band.lineTo(coverSize, top + 22);
        band.cubicTo(coverSize * 0.6, top + 100, coverSize * 0.3, top - 8, 0, top + 62);
        band.closeSubpath();
        QColor light = QColor::fromHsv((cover.hue + wave * 25) % 360, 180, 255);
        light.setAlpha(110 - wave * 25);
        painter.fillPath(band, light);
    }

    // A low horizon of hills.
    QPainterPath hills;
    hills.moveTo(0, coverSize * 0.8);
    hills.cubicTo(coverSize * 0.25, coverSize * 0.7, coverSize * 0.55, coverSize * 0.86, coverSize, coverSize * 0.74);
    hills.lineTo(coverSize, coverSize);
    hills.lineTo(0, coverSize);
    hills.closeSubpath();
    painter.fillPath(hills, QColor::fromHsv(225, 120, 25));

    painter.setPen(Qt::white);
    QFont titleFont(QStringLiteral("DejaVu Sans"), 17, QFont::Bold);
    painter.setFont(titleFont);
    painter.drawText(QRect(16, 14, coverSize - 32, 60), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
                     QString::fromUtf8(cover.title));
    QFont artistFont(QStringLiteral("DejaVu Sans"), 12);
    painter.setFont(artistFont);
    painter.drawText(QRect(16, coverSize - 44, coverSize - 32, 30), Qt::AlignRight | Qt::AlignVCenter,
                     QString::fromUtf8(cover.artist));
    return image;
}

} // namespace

int main(int argc, char *argv[])
{
    // Drawing text needs a GUI application, not a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: tagwright-sample-covers CATALOGUE_DIR\n");
        return 2;
    }
    const QDir images(QString::fromLocal8Bit(argv[1]) + QStringLiteral("/images"));
    if (!images.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "tagwright-sample-covers: cannot create %s\n", qPrintable(images.path()));
        return 1;
    }
    for (const SampleCover &cover : sampleCovers) {
        const QString path = images.filePath(QString::fromLatin1(cover.asin) + QStringLiteral(".jpg"));
        if (!drawCover(cover).save(path, "JPG")) {
            std::fprintf(stderr, "tagwright-sample-covers: cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}
