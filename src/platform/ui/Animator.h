#pragma once

#include "platform/ui/AnimationCurve.h"

#include "platform/foundation/ClockTimer.h"

#include <QList>
#include <QObject>
#include <QPointer>

#include <functional>
#include <memory>

// Runs the animations of views and scroll views on the one clock. A property
// set inside an animation block keeps its new value at once (what the code
// reads) while its presentation moves there over the block's duration; the
// block's completion is told at the end. Tests run every animation to its end
// at once with finishAll(), or move a ManualClock.
class Animator {
public:
    using Values = QList<qreal>;
    using Apply = std::function<void(const Values&)>;

    struct BlockOptions {
        qint64 durationMs = 200;
        qint64 delayMs = 0;
        AnimationCurve curve = AnimationCurve::EaseInOut;
    };

    static Animator& shared();

    // Runs `animations` as one block: properties they set are animated with
    // these options; `completion(finished)` is told when the block ends
    // (finished false when every one of its animations was replaced first).
    void runBlock(const BlockOptions& options, const std::function<void()>& animations,
                  std::function<void(bool)> completion);
    // The options of the block being run, or null outside any block (or while
    // animations are disabled).
    const BlockOptions* currentBlock() const;

    // Animates one property of `owner` from `from` to `to` with the current
    // block's options (or `options` when given); `apply` shows a value. A
    // running animation of the same property is replaced.
    void add(QObject* owner, int property, const Values& from, const Values& to, Apply apply,
             const BlockOptions* options = nullptr);
    // Stops the property's animation, showing its final value.
    void finish(QObject* owner, int property);
    bool isAnimating(const QObject* owner, int property) const;
    // Ends every running animation at its final value and tells completions.
    void finishAll();
    int runningCount() const { return int(m_running.size()); }

    static void setAnimationsEnabled(bool enabled);
    static bool areAnimationsEnabled();
    static void performWithoutAnimation(const std::function<void()>& changes);

    static qreal progress(AnimationCurve curve, qreal t);

private:
    struct Group {
        int id = 0;
        int live = 0;
        int added = 0;
        bool anyFinished = false;
        std::function<void(bool)> completion;
        ClockTimer endTimer;
    };
    struct Running {
        QPointer<QObject> owner;
        const QObject* key = nullptr;
        int property = 0;
        Values from;
        Values to;
        Apply apply;
        qint64 start = 0;
        qint64 duration = 0;
        AnimationCurve curve = AnimationCurve::EaseInOut;
        int group = 0;
    };

    void tick();
    void ensureTicking();
    void endRunning(int index, bool completed);
    void dropRunning(const QObject* owner, int property);
    void groupAnimationEnded(int group, bool completed);
    void finishGroup(int group);
    Clock& clock();

    QList<BlockOptions> m_blockStack;
    QList<int> m_groupStack;
    QList<Running> m_running;
    QList<std::shared_ptr<Group>> m_groups;
    ClockTimer m_ticker;
    int m_nextGroup = 1;
    int m_disabled = 0;
};
