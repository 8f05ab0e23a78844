#include "app/platform/app_icon.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace kv::app {

namespace {

// A dive profile over a sea-blue square: descent, bottom, stepped ascent.
void DrawIcon(QPainter& p, const QRectF& r) {
  p.setRenderHint(QPainter::Antialiasing);
  QLinearGradient sea(r.topLeft(), r.bottomLeft());
  sea.setColorAt(0.0, QColor(0x4f, 0xa8, 0xd8));
  sea.setColorAt(1.0, QColor(0x0b, 0x2e, 0x5a));
  p.setPen(Qt::NoPen);
  p.setBrush(sea);
  p.drawRoundedRect(r, r.width() * 0.18, r.width() * 0.18);
  const double w = r.width(), h = r.height();
  auto at = [&](double x, double y) { return QPointF(r.left() + x * w, r.top() + y * h); };
  QPainterPath profile;
  profile.moveTo(at(0.12, 0.22));
  profile.lineTo(at(0.30, 0.78));
  profile.lineTo(at(0.52, 0.78));
  profile.lineTo(at(0.60, 0.56));
  profile.lineTo(at(0.68, 0.56));
  profile.lineTo(at(0.72, 0.42));
  profile.lineTo(at(0.80, 0.42));
  profile.lineTo(at(0.88, 0.22));
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(QColor(0xff, 0xd2, 0x4a), std::max(1.5, w * 0.07), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.drawPath(profile);
}

}  // namespace

QPixmap AppIconPixmap(int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  DrawIcon(p, QRectF(0, 0, size, size));
  return pixmap;
}

QIcon AppIcon() {
  QIcon icon;
  for (int size : {16, 24, 32, 48, 64, 128, 256}) icon.addPixmap(AppIconPixmap(size));
  return icon;
}

QPixmap SplashPicture() {
  QPixmap pixmap(520, 280);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  QLinearGradient sea(0, 0, 0, pixmap.height());
  sea.setColorAt(0.0, QColor(0x2a, 0x7f, 0xb8));
  sea.setColorAt(1.0, QColor(0x06, 0x1d, 0x3c));
  p.fillRect(pixmap.rect(), sea);
  DrawIcon(p, QRectF(28, 28, 96, 96));
  QFont title = p.font();
  title.setPointSize(26);
  title.setBold(true);
  p.setFont(title);
  p.setPen(Qt::white);
  p.drawText(QRectF(140, 40, 360, 50), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Kestrun Varnadel"));
  QFont sub = p.font();
  sub.setPointSize(11);
  sub.setBold(false);
  p.setFont(sub);
  p.drawText(QRectF(140, 92, 360, 60), Qt::AlignLeft | Qt::TextWordWrap,
             QStringLiteral("Decompression planning for closed-circuit rebreather and open-circuit divers"));
  return pixmap;
}

QIcon GlyphIcon(const QString& glyph) {
  QIcon icon;
  for (int size : {16, 24, 32}) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x1f, 0x5f, 0x9a));
    p.drawEllipse(QRectF(1, 1, size - 2, size - 2));
    QFont f = p.font();
    f.setPixelSize(size * 3 / 4);
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRectF(0, 0, size, size), Qt::AlignCenter, glyph);
    icon.addPixmap(pixmap);
  }
  return icon;
}

}  // namespace kv::app
