#pragma once

// How a model's handler takes the answer to one of its requests: the
// standard rules, and the exceptions a handler states by setting a flag.
//
//   if (const auto answer = takeAnswer(request, {.handlerJudgesRefusals = true}))
//       ...read answer->dictionary() or request->response()
struct AnswerRules {
    // An answer whose signature did not match counts by its content (the
    // session's own answers: "api_init" is never signed, and a sign-in is
    // signed with the session it replaces).
    bool acceptBadSignature = false;
    // The forum's refusals are handed to the handler, which reads the code
    // itself, instead of being reported.
    bool handlerJudgesRefusals = false;
};
