#pragma once

#include <QByteArray>
#include <QString>

#include <vector>

// Forum answers as the forum's API sends them, generated from a fixed seed so
// that every run measures the same bytes. Some files escape "/" and every
// non-ASCII character the way the forum's default encoder does; the others
// carry raw UTF-8.
struct CorpusFile {
    QString name;
    QByteArray json;
};

namespace ForumCorpus {
// The small answers that open a session and sign a member in, a 40-post
// thread page, a thread list, a 300-forum tree, a profile, search results
// and a file of about 20 MB.
std::vector<CorpusFile> generate();
}  // namespace ForumCorpus
