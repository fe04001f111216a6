#pragma once

#include "platform/foundation/Value.h"

#include <QString>

// How the forum's answers are read where one shape or another may come: a
// list of one is often sent as its element, an empty list as null, a code
// as a text or as a list whose first element counts.
namespace AnswerShape {

// A list as it is, a dictionary as a list of one, anything else as no list.
bool isListLike(const Value& value);
ValueList listOf(const Value& value);
// The dictionaries of listOf, elements of any other type skipped.
ValueList dictionariesOf(const Value& value);
// A code: a text as it is, a list's first element when that is a text.
QString codeOf(const Value& value);
// The decimal text of a page number sent as a number or a text; a null text
// for anything else.
QString pageKeyOf(const Value& value);

// The "emailupdate" of a subscription from the form's selected mode
// ("HTML"."emailselected", under "response" or at the top level of the
// answer): "3" when "[3]" is there, else "2", else "1", else "0".
QString emailUpdateOf(const Value& json);

// Nested dictionaries applied to the model that holds them ("thread" inside
// a thread, "post" inside a post) are followed this deep and no deeper, so
// that a hostile answer cannot run the stack out.
constexpr int kMaxNesting = 8;

// Counts one level of such nesting while it lives.
class NestingLevel {
public:
    explicit NestingLevel(int& depth) : m_depth(depth) { ++m_depth; }
    ~NestingLevel() { --m_depth; }
    NestingLevel(const NestingLevel&) = delete;
    NestingLevel& operator=(const NestingLevel&) = delete;
    bool tooDeep() const { return m_depth > kMaxNesting; }

private:
    int& m_depth;
};

}  // namespace AnswerShape
