#pragma once

// Read access to the topics and pictures inside a compiled HTML help file.

#include <QByteArray>
#include <QString>

struct chmFile;

class ChmArchive {
public:
    explicit ChmArchive(const QString& fileName);
    ~ChmArchive();
    ChmArchive(const ChmArchive&) = delete;
    ChmArchive& operator=(const ChmArchive&) = delete;

    bool isOpen() const { return file != nullptr; }
    bool contains(const QString& path) const;
    // The object's bytes; empty when it is missing. Paths start with "/".
    QByteArray object(const QString& path) const;

private:
    chmFile* file = nullptr;
};
