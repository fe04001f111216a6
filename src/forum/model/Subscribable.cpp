#include "forum/model/Subscribable.h"

#include "app/model/ModelWithPages.h"
#include "forum/model/AbstractThread.h"
#include "forum/model/AnswerShape.h"

template <typename Base>
void Subscribable<Base>::subscribe()
{
    const bool before = m_isSubscribed;
    m_isSubscribed = true;
    this->notifyChanged();
    const auto [key, id] = subscriptionTarget();
    this->requestURL(QStringLiteral("subscription_addsubscription"), ValueDict{{key, Value(QString::number(id))}},
                     RequestMethod::GET, SELECTOR(Subscribable, subscribedStatus))
        ->setExtraInfo(Value(before));
}

template <typename Base>
void Subscribable<Base>::subscribedStatus(const HTTPRequestPtr& request)
{
    if (!request)
        return;
    const auto guard = this->keepAlive();
    if (!this->takeAnswer(request)) {
        rollBackSubscription(request);
        return;
    }
    const auto [key, id] = subscriptionTarget();
    this->requestURL(QStringLiteral("subscription_doaddsubscription"),
                     ValueDict{{QStringLiteral("emailupdate"), Value(AnswerShape::emailUpdateOf(request->response()))},
                               {key, Value(QString::number(id))}},
                     RequestMethod::GET, SELECTOR(Subscribable, subscribed))
        ->setExtraInfo(request->extraInfo());
}

template <typename Base>
void Subscribable<Base>::unsubscribe()
{
    const bool before = m_isSubscribed;
    m_isSubscribed = false;
    this->notifyChanged();
    const auto [key, id] = subscriptionTarget();
    this->requestURL(QStringLiteral("subscription_removesubscription"), ValueDict{{key, Value(QString::number(id))}},
                     RequestMethod::GET, SELECTOR(Subscribable, subscribed))
        ->setExtraInfo(Value(before));
}

template <typename Base>
void Subscribable<Base>::subscribed(const HTTPRequestPtr& request)
{
    if (!request)
        return;
    const auto guard = this->keepAlive();
    if (!this->takeAnswer(request))
        rollBackSubscription(request);
}

template <typename Base>
void Subscribable<Base>::rollBackSubscription(const HTTPRequestPtr& request)
{
    m_isSubscribed = request->extraInfo().toBool();
    this->notifyChanged();
}

// The forums and the threads.
template class Subscribable<ModelWithPages>;
template class Subscribable<AbstractThread>;
