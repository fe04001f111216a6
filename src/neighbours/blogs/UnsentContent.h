#pragma once

class Builder;

// The end of a send the forum's API has no call for: the builder fails and
// its observers read why, so that a screen waiting for the send stops. A
// builder already sending is left as it is.
namespace UnsentContent {
void refuse(Builder& builder);
}  // namespace UnsentContent
