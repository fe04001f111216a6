#pragma once

#include <QString>

#include <chrono>
#include <functional>

namespace TestSupport {
// The temporary folder that stands in for the user's home in this test process.
QString homeFolder();
// Runs the event loop until the condition holds or the time is up; returns the condition.
bool waitFor(const std::function<bool()>& condition,
             std::chrono::milliseconds timeout = std::chrono::milliseconds(5000));
// Runs pending events (posted calls, deferred deletions) once.
void processEvents();
// Where a test's picture goes, to be looked at in the build folder's
// gallery/ (saving a screenshot makes the folder). Each test process writes
// and reads back its own copies, which replace the gallery's as the process
// ends: test programs that run at the same time in one build never read a
// picture another is writing.
QString galleryPath(const QString& name);
}  // namespace TestSupport
