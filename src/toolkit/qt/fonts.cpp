#include "toolkit/qt/fonts.h"

#include <QApplication>
#include <QDirIterator>
#include <QFontDatabase>
#include <QStringList>

namespace tervalin {

void installFontSubstitutes() {
    // A browser lends the page none of the desktop's fonts: the web build
    // carries those the window uses, and the desktop's user-interface font.
    for (QDirIterator face(QStringLiteral(":/carried-fonts")); face.hasNext();)
        QFontDatabase::addApplicationFont(face.next());
    if (QGuiApplication::platformName() == u"wasm")
        QApplication::setFont(QFont(QStringLiteral("DejaVu Sans"), 9));
    QFont::insertSubstitutions(
        QStringLiteral("Times New Roman"),
        {QStringLiteral("Liberation Serif"), QStringLiteral("DejaVu Serif")});
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                               {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
}

QFont toQFont(const FontDesc& font) {
    QFont f(toQString(font.face));
    f.setPointSizeF(font.points);
    f.setWeight(font.weight >= 700 ? QFont::Bold : QFont::Normal);
    // A face the desktop lacks falls back to a proportional one of its kind.
    f.setStyleHint(font.face.starts_with("Times") ? QFont::Serif : QFont::SansSerif);
    return f;
}

} // namespace tervalin
