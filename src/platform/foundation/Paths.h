#pragma once

#include <QString>

// The user's folders. Each is created when first asked for. With MU_HOME set
// (tests, demos) they all live below it; otherwise they follow the XDG base
// directories.
class Paths {
public:
    // Settings and other data that belong to the application.
    static QString dataDir();
    // The user's documents (archived models and the like).
    static QString documentsDir();
    // Data that can be fetched again (images, answers).
    static QString cachesDir();
    // Scratch files of this user; never shared with other users.
    static QString tempDir();
};
