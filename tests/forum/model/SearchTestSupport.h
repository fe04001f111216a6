#pragma once

#include "forum/model/NewTopSearch.h"
#include "forum/model/Search.h"

#include <QStringList>

// Counts what a search tells its delegate; takes failures unless told not to.
class RecordingSearchDelegate : public SearchDelegate {
public:
    explicit RecordingSearchDelegate(bool takesFailures = true) : m_takesFailures(takesFailures) {}

    void searchHasResults(Search*) override { ++results; }
    bool searchHasFailed(Search*, const Error& error) override
    {
        if (!m_takesFailures)
            return false;
        failures.append(error.domain());
        return true;
    }

    int results = 0;
    QStringList failures;

private:
    bool m_takesFailures;
};

class RecordingNewTopDelegate : public NewTopSearchDelegate {
public:
    explicit RecordingNewTopDelegate(bool takesFailures = true) : m_takesFailures(takesFailures) {}

    void newTopHasResults(NewTopSearch*) override { ++results; }
    bool newTopHasResults(NewTopSearch*, const Error& error) override
    {
        if (!m_takesFailures)
            return false;
        failures.append(error.domain());
        return true;
    }

    int results = 0;
    QStringList failures;

private:
    bool m_takesFailures;
};
