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
// Where a test's picture goes, to be looked at: the build folder's gallery/
// (saving a screenshot makes the folder).
QString galleryPath(const QString& name);
}  // namespace TestSupport
