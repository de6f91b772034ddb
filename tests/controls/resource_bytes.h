// Reads one of the program's resources into a byte vector for the tests.
#pragma once

#include <QFile>
#include <QString>

#include <cstdint>
#include <vector>

inline std::vector<uint8_t> resourceBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    const QByteArray bytes = file.readAll();
    return std::vector<uint8_t>(bytes.begin(), bytes.end());
}
