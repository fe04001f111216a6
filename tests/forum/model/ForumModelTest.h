#pragma once

#include "AppTest.h"
#include "Answers.h"
#include "app/net/HTTPRequest.h"

#include <QString>

// The fixture of the forum models' tests: besides AppTest's fresh state, no
// forum tree and no forum password from an earlier test.
class ForumModelTest : public AppTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // A captured-style answer from tests/forum/model/fixtures/<name>.json.
    static Value fixture(const char* name);
    static QByteArray fixtureBytes(const char* name);
    // A request whose reply ended with that answer, judged as the request
    // layer judges a complete, signed answer (or ended as `kind` says).
    static HTTPRequestPtr answered(const Value& json, RequestOutcome::Kind kind = RequestOutcome::Kind::Ok);
    static HTTPRequestPtr answeredFixture(const char* name) { return answered(fixture(name)); }
};
