#pragma once
// The bundled symbol set (SVGs under :/ui/icons/, named like the platform symbols they stand
// for: "scope", "flame", "books.vertical", ...). Symbols are drawn in one colour and tinted
// where they are shown.
#include <QColor>
#include <QIcon>
#include <QPixmap>
#include <QString>

namespace kavrino {

// The symbol `name` as an icon; a null icon when the set has no such symbol.
QIcon symbolIcon(const QString& name);

// `icon` drawn `side` points square in `color` (every opaque pixel takes the colour, keeping its
// coverage), for a device pixel ratio of `devicePixelRatio`.
QPixmap tintedPixmap(const QIcon& icon, const QColor& color, int side, double devicePixelRatio);

}  // namespace kavrino
