#include "private_font.h"

#include <QFile>
#include <QFontDatabase>

#include "font_names.h"

PrivateFont::PrivateFont(const QString& resourcePath) {
    QFile file(resourcePath);
    if (!file.open(QIODevice::ReadOnly)) {
        return;
    }
    const QByteArray bytes = file.readAll();
    fontId = QFontDatabase::addApplicationFontFromData(bytes);
    FontNameReader reader;
    reader.ReadFontNames(reinterpret_cast<const uint8_t*>(bytes.constData()),
                         static_cast<size_t>(bytes.size()));
    // A longer name would be cut short where it is stored, and a cut name selects no
    // face; treat it as no name, so that the registered family is used instead.
    const QString full = QString::fromStdU16String(reader.FullName());
    if (full.size() <= kMaxFaceName) {
        name = full;
    }
    resolveFamily();
}

PrivateFont::~PrivateFont() {
    if (fontId >= 0) {
        QFontDatabase::removeApplicationFont(fontId);
    }
}

// Qt selects fonts by family and style, not by full name as the system this program
// grew up on did. A full name such as "<family> Bold" is therefore mapped back to the
// family it belongs to; the style then comes from the only face the family has.
void PrivateFont::resolveFamily() {
    if (fontId < 0) {
        familyName = name;
        return;
    }
    const QStringList families = QFontDatabase::applicationFontFamilies(fontId);
    if (name.isEmpty() || families.contains(name, Qt::CaseInsensitive)) {
        familyName = name.isEmpty() && !families.isEmpty() ? families.first() : name;
        return;
    }
    familyName = name;
    for (const QString& family : families) {
        if (name.startsWith(family + u' ', Qt::CaseInsensitive)) {
            familyName = family;
            return;
        }
    }
}
