#pragma once

#include <QString>

// A font carried in the program's resources, registered for this process only while the
// object lives. The face name comes from the font's own naming table (the full name), so
// the font file alone decides what the viewer asks for.
class PrivateFont {
public:
    explicit PrivateFont(const QString& resourcePath);
    ~PrivateFont();
    PrivateFont(const PrivateFont&) = delete;
    PrivateFont& operator=(const PrivateFont&) = delete;

    bool registered() const { return fontId >= 0; }
    // The full name read from the font (at most kMaxFaceName characters), or empty.
    const QString& fullName() const { return name; }
    // The family to ask Qt for: the full name when Qt knows it as a family, else the
    // registered family that the full name starts with. Empty without a font.
    const QString& family() const { return familyName; }

    // The longest face name the viewer's character format holds.
    static constexpr int kMaxFaceName = 31;

private:
    void resolveFamily();

    int fontId = -1;
    QString name;
    QString familyName;
};
