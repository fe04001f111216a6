#include "forum/model/QuickReply.h"

#include "forum/model/Thread.h"

QuickReply::QuickReply() = default;

QuickReply::~QuickReply() = default;

std::shared_ptr<QuickReply> QuickReply::initWithThread(const std::shared_ptr<Thread>& thread)
{
    auto row = std::make_shared<QuickReply>();
    if (!thread)
        return row;
    row->m_builder = ReplyBuilder::initWithThread(thread);
    row->m_builder->setForum(thread->forum());
    row->m_builderObservation.observe(row->m_builder, row.get());
    return row;
}

std::shared_ptr<Thread> QuickReply::thread() const
{
    return m_builder ? std::dynamic_pointer_cast<Thread>(m_builder->thread()) : nullptr;
}

bool QuickReply::isSending() const
{
    return m_builder && m_builder->status() == BuilderStatus::Sending;
}

bool QuickReply::submit()
{
    // A send whose fate is open keeps its text: the forum is asked about that one.
    if (!m_builder || !m_refusal.isEmpty() || m_text.trimmed().isEmpty() || isSending())
        return false;
    const auto guard = keepAlive();
    m_builder->setMessage(m_text);
    m_submitted = true;
    m_builder->create();
    notifyChanged();
    return true;
}

void QuickReply::modelHasChanged(Model* model)
{
    if (!m_builder || model != m_builder.get())
        return;
    // Only the text of a send that went out goes, once.
    if (m_submitted && m_builder->status() == BuilderStatus::Sent) {
        m_submitted = false;
        // What was typed after it went stays.
        if (m_text == m_builder->message())
            m_text.clear();
    }
    notifyChanged();
}

bool QuickReply::modelHasFailedToUpdate(Model* model, const Error& error)
{
    if (!m_builder || model != m_builder.get())
        return false;
    const auto guard = keepAlive();
    // The form itself was refused: nothing can be sent from here.
    const bool formRefused = m_builder->status() == BuilderStatus::Idle;
    if (formRefused)
        m_refusal = error.domain();
    else
        m_submitted = false;
    notifyChanged();
    // A failed send keeps the text; the error is shown once, by the model layer.
    return formRefused;
}
