#pragma once

// The files the benchmark reads and saves, made afresh in a folder of its own: half at a constant
// bitrate, half VBR with a Xing header; each with an ID3v2.3 tag of the usual texts and an ID3v1
// block, in one set with a 100 KB cover picture after the texts, in one with a 1 MB cover, and in
// one set without.

#include <QString>
#include <QStringList>

constexpr int PictureBytes = 100 * 1024;
constexpr int LargePictureBytes = 1024 * 1024;

struct Corpus {
    QStringList pictured;
    QStringList largePictured;
    QStringList plain;
};

Corpus makeCorpus(const QString& folder, int files);
// Copies of the files into `folder`, for the saves, which change them.
QStringList copyFiles(const QStringList& files, const QString& folder);
// Reads every file once so that each row finds them in the page cache.
void warmPageCache(const QStringList& files);
// Drops the files' pages from the page cache, so that the next read comes from the disk; false
// where the system does not.
bool dropFromPageCache(const QStringList& files);
