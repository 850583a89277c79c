#include "gui/widgets/SvgIcon.h"

#include <QApplication>
#include <QIconEngine>
#include <QPainter>
#include <QPixmapCache>
#include <QStyle>
#include <QStyleOption>
#include <QSvgRenderer>

namespace vormex::gui {
namespace {

QPixmap render(const QString& path, const QSize& pixels)
{
    QPixmap pixmap(pixels);
    pixmap.fill(Qt::transparent);
    QSvgRenderer renderer(path);
    QPainter painter(&pixmap);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(pixels)));
    return pixmap;
}

class SvgIconEngine : public QIconEngine {
public:
    explicit SvgIconEngine(QString path) : path_(std::move(path)) {}

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State) override
    {
        if (size.isEmpty())
            return QPixmap();
        const QString key = QStringLiteral("vormex-svg:%1:%2x%3:%4").arg(path_).arg(size.width()).arg(size.height()).arg(int(mode));
        QPixmap pixmap;
        if (QPixmapCache::find(key, &pixmap))
            return pixmap;
        pixmap = render(path_, size);
        if (mode != QIcon::Normal && mode != QIcon::Active) {
            // Disabled and selected icons as the style draws them from the normal one.
            QStyleOption option;
            option.palette = QApplication::palette();
            pixmap = QApplication::style()->generatedIconPixmap(mode, pixmap, &option);
        }
        QPixmapCache::insert(key, pixmap);
        return pixmap;
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
        QPixmap drawn = pixmap(rect.size() * ratio, mode, state);
        drawn.setDevicePixelRatio(ratio);
        painter->drawPixmap(rect, drawn);
    }

    QIconEngine* clone() const override { return new SvgIconEngine(path_); }
    QString key() const override { return QStringLiteral("vormex-svg"); }

private:
    QString path_;
};

}  // namespace

QIcon SvgIcon(const QString& path) { return QIcon(new SvgIconEngine(path)); }

QPixmap SvgPixmap(const QString& path, const QSize& size)
{
    const qreal ratio = qApp ? qApp->devicePixelRatio() : 1.0;
    QPixmap pixmap = render(path, size * ratio);
    pixmap.setDevicePixelRatio(ratio);
    return pixmap;
}

}  // namespace vormex::gui
