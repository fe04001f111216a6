#pragma once

#include "forum/model/NewTopSearch.h"
#include "forum/model/Search.h"

#include <QStringList>

// What a search tells its delegate: results counted, failures' messages
// kept. It takes failures unless told not to.
class SearchRecord {
public:
    explicit SearchRecord(bool takesFailures) : m_takesFailures(takesFailures) {}

    int results = 0;
    QStringList failures;

protected:
    bool takeFailure(const Error& error)
    {
        if (!m_takesFailures)
            return false;
        failures.append(error.domain());
        return true;
    }

private:
    bool m_takesFailures;
};

class RecordingSearchDelegate : public SearchDelegate, public SearchRecord {
public:
    explicit RecordingSearchDelegate(bool takesFailures = true) : SearchRecord(takesFailures) {}

    void searchHasResults(Search*) override { ++results; }
    bool searchHasFailed(Search*, const Error& error) override { return takeFailure(error); }
};

class RecordingNewTopDelegate : public NewTopSearchDelegate, public SearchRecord {
public:
    explicit RecordingNewTopDelegate(bool takesFailures = true) : SearchRecord(takesFailures) {}

    void newTopHasResults(NewTopSearch*) override { ++results; }
    bool newTopHasResults(NewTopSearch*, const Error& error) override { return takeFailure(error); }
};
