#pragma once
// The program's icon and splash picture, drawn rather than shipped as images,
// so they are sharp at every size.

#include <QIcon>
#include <QPixmap>

namespace kv::app {

QPixmap AppIconPixmap(int size);
QIcon AppIcon();
QPixmap SplashPicture();

// A toolbar icon of one character on a round badge.
QIcon GlyphIcon(const QString& glyph);

}  // namespace kv::app
