#include "platform/ui/Animator.h"

#include <QtMath>

namespace {
constexpr qint64 kFrameMs = 16;
}

Animator& Animator::shared()
{
    static Animator instance;
    return instance;
}

Clock& Animator::clock()
{
    return Clock::current();
}

qreal Animator::progress(AnimationCurve curve, qreal t)
{
    t = qBound<qreal>(0, t, 1);
    switch (curve) {
    case AnimationCurve::Linear:
        return t;
    case AnimationCurve::EaseIn:
        return t * t;
    case AnimationCurve::EaseOut:
        return 1 - (1 - t) * (1 - t);
    case AnimationCurve::EaseInOut:
        break;
    }
    return t < 0.5 ? 2 * t * t : 1 - 2 * (1 - t) * (1 - t);
}

void Animator::runBlock(const BlockOptions& options, const std::function<void()>& animations,
                        std::function<void(bool)> completion)
{
    auto group = std::make_shared<Group>();
    group->id = m_nextGroup++;
    group->completion = std::move(completion);
    m_groups.append(group);
    const bool enabled = m_disabled == 0;
    if (enabled) {
        m_blockStack.append(options);
        m_groupStack.append(group->id);
    }
    if (animations)
        animations();
    if (enabled) {
        m_blockStack.removeLast();
        m_groupStack.removeLast();
    }
    const int id = group->id;
    const qint64 end = enabled ? options.delayMs + options.durationMs : 0;
    group->endTimer = clock().after(end, [this, id]() { finishGroup(id); });
}

const Animator::BlockOptions* Animator::currentBlock() const
{
    if (m_disabled > 0 || m_blockStack.isEmpty())
        return nullptr;
    return &m_blockStack.last();
}

void Animator::add(QObject* owner, int property, const Values& from, const Values& to, Apply apply,
                   const BlockOptions* options)
{
    const BlockOptions* block = options ? options : currentBlock();
    // A running animation of the value ends unfinished: the new value replaces it.
    dropRunning(owner, property);
    if (!block || block->durationMs <= 0 || m_disabled > 0) {
        // No block: the value shows at once.
        apply(to);
        return;
    }
    Running r;
    r.owner = owner;
    r.key = owner;
    r.property = property;
    r.from = from;
    r.to = to;
    r.apply = std::move(apply);
    r.start = clock().elapsedMs() + block->delayMs;
    r.duration = block->durationMs;
    r.curve = block->curve;
    r.group = (options || m_groupStack.isEmpty()) ? 0 : m_groupStack.last();
    for (const auto& g : std::as_const(m_groups)) {
        if (g->id == r.group)
            ++g->live, ++g->added;
    }
    m_running.append(std::move(r));
    ensureTicking();
}

void Animator::finish(QObject* owner, int property)
{
    for (int i = 0; i < m_running.size(); ++i) {
        if (m_running[i].key == owner && m_running[i].property == property) {
            endRunning(i, true);
            return;
        }
    }
}

bool Animator::isAnimating(const QObject* owner, int property) const
{
    for (const Running& r : m_running) {
        if (r.key == owner && r.property == property)
            return true;
    }
    return false;
}

void Animator::dropRunning(const QObject* owner, int property)
{
    for (int i = 0; i < m_running.size(); ++i) {
        if (m_running[i].key == owner && m_running[i].property == property) {
            const int group = m_running[i].group;
            m_running.removeAt(i);
            groupAnimationEnded(group, false);
            break;
        }
    }
}

void Animator::endRunning(int index, bool completed)
{
    Running r = m_running.takeAt(index);
    if (r.owner)
        r.apply(r.to);
    groupAnimationEnded(r.group, completed);
}

void Animator::groupAnimationEnded(int group, bool completed)
{
    for (const auto& g : std::as_const(m_groups)) {
        if (g->id == group) {
            --g->live;
            g->anyFinished = g->anyFinished || completed;
        }
    }
}

void Animator::finishGroup(int id)
{
    for (int i = m_running.size() - 1; i >= 0; --i) {
        if (i < m_running.size() && m_running[i].group == id)
            endRunning(i, true);
    }
    std::shared_ptr<Group> group;
    for (int i = 0; i < m_groups.size(); ++i) {
        if (m_groups[i]->id == id) {
            group = m_groups.takeAt(i);
            break;
        }
    }
    if (!group)
        return;
    group->endTimer.cancel();
    // A block whose every animation was replaced did not finish; one with no
    // animation at all did.
    const bool finished = group->anyFinished || group->added == 0;
    if (group->completion)
        group->completion(finished);
}

void Animator::ensureTicking()
{
    if (!m_ticker.isActive())
        m_ticker = clock().every(kFrameMs, [this]() { tick(); });
}

void Animator::tick()
{
    const qint64 now = clock().elapsedMs();
    for (int i = 0; i < m_running.size();) {
        Running& r = m_running[i];
        if (!r.owner) {
            const int group = r.group;
            m_running.removeAt(i);
            groupAnimationEnded(group, false);
            continue;
        }
        if (now < r.start) {
            ++i;
            continue;
        }
        const qreal t = r.duration > 0 ? qreal(now - r.start) / qreal(r.duration) : 1;
        if (t >= 1) {
            endRunning(i, true);
            continue;
        }
        const qreal p = progress(r.curve, t);
        Values v(r.to.size());
        for (int k = 0; k < r.to.size(); ++k) {
            const qreal a = k < r.from.size() ? r.from[k] : r.to[k];
            v[k] = a + (r.to[k] - a) * p;
        }
        const Apply apply = r.apply;
        apply(v);
        ++i;
    }
    if (m_running.isEmpty())
        m_ticker.cancel();
}

void Animator::finishAll()
{
    for (int round = 0; round < 100 && (!m_running.isEmpty() || !m_groups.isEmpty()); ++round) {
        while (!m_running.isEmpty())
            endRunning(0, true);
        const QList<std::shared_ptr<Group>> groups = m_groups;
        for (const auto& g : groups)
            finishGroup(g->id);
    }
    m_ticker.cancel();
}

void Animator::setAnimationsEnabled(bool enabled)
{
    shared().m_disabled = enabled ? 0 : 1;
}

bool Animator::areAnimationsEnabled()
{
    return shared().m_disabled == 0;
}

void Animator::performWithoutAnimation(const std::function<void()>& changes)
{
    Animator& a = shared();
    ++a.m_disabled;
    changes();
    --a.m_disabled;
}
