#pragma once

#include <map>
#include <memory>
#include <source_location>
#include <typeindex>
#include <typeinfo>

class Clock;
class Config;
class CurrentUser;
class SessionEvents;

// The application's shared parts for one run, or one test: the clock, the
// API client with its requests in flight, the stored configuration and
// database, and the session with its events. They are built and connected to
// each other here, once, and go together with the context. The static
// accessors (CurrentUser::currentUser(), Clock::current(),
// ApiClient::current(), Config::getInstance(), ...) hand out the parts of the
// context in use; the layers below the session, which cannot name it, have
// theirs installed by it for its life.
//
// The layers above keep their shared parts here too, by their types (the
// forum tree, the screen stack's replacing, the menu's unread count): the
// wiring sets each of them and connects them to the session's events. Screens are handed the
// context they are made on and read their parts from it.
class AppContext {
public:
    // Builds the context on this clock and puts it in use until it goes; one
    // at a time.
    explicit AppContext(std::shared_ptr<Clock> clock);
    // The requests still in flight end with the API client.
    ~AppContext();
    AppContext(const AppContext&) = delete;
    AppContext& operator=(const AppContext&) = delete;

    // The context in use; using the application's parts without one is a
    // programming error and ends the program.
    static AppContext& current();
    static bool exists();

    Clock& clock() const { return *m_clock; }
    // The user, signed in or not: the one stored when the context was built,
    // or a new guest.
    const std::shared_ptr<CurrentUser>& currentUser() const { return m_user; }
    SessionEvents& sessionEvents() const { return *m_events; }
    // The stored configuration, read again from the store for each context.
    Config& config() const;
    // Lets the user go and reads it again from the store, as a restart would.
    void restoreSession();

    // A part of a layer above, by its type: the one the wiring (or a test)
    // set. Asking for a part that nobody set is a programming error that
    // ends the program, naming the part's type and the place that asked: a
    // stand-in made here would be connected to nothing and seen by no one.
    template <typename Part>
    std::shared_ptr<Part> part(std::source_location asker = std::source_location::current()) const
    {
        const auto found = m_parts.find(std::type_index(typeid(Part)));
        if (found == m_parts.end())
            missingPart(typeid(Part), asker);
        return std::static_pointer_cast<Part>(found->second);
    }
    // The part if there is one; null otherwise. For the few that are
    // optional, such as the menu's count of unread messages.
    template <typename Part>
    std::shared_ptr<Part> existingPart() const
    {
        const auto found = m_parts.find(std::type_index(typeid(Part)));
        return found == m_parts.end() ? nullptr : std::static_pointer_cast<Part>(found->second);
    }
    // Null forgets the part.
    template <typename Part>
    void setPart(std::shared_ptr<Part> part)
    {
        if (part)
            m_parts[std::type_index(typeid(Part))] = std::move(part);
        else
            m_parts.erase(std::type_index(typeid(Part)));
    }

private:
    [[noreturn]] static void missingPart(const std::type_info& type, const std::source_location& asker);

    std::shared_ptr<Clock> m_clock;
    std::shared_ptr<SessionEvents> m_events;
    std::shared_ptr<CurrentUser> m_user;
    std::map<std::type_index, std::shared_ptr<void>> m_parts;
};
