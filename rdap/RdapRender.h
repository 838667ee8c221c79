#pragma once
// An RDAP answer (RFC 9083) as lines of text for the text view, whois-like: one field a line,
// "Label: value", in the same order for every answer of a kind:
//   the object's names and handle (and its addresses or numbers), status, events with their
//   dates, name servers and DNSSEC (a domain), entities with their roles and the names,
//   organisations, addresses, e-mail addresses and telephone numbers of their vCards (an entity's
//   own entities indented below it), remarks, links, the port-43 server; then the notices.
// An error answer (404, 429, 5xx...) shows the registry's own error object: "Error: code title",
// its description and, when the server sent one, the time to wait ("Retry-After"). A body that
// is no JSON, or JSON that is no RDAP object, is shown as received after a one-line note; what
// the note says is the window's. A query that asked for the JSON gets it pretty-printed.
// Rendered lines are UTF-8, unless the registry broke that rule; received lines are the bytes
// as they came.

#include "Json.h"

#include <string>
#include <vector>

namespace rdap {

enum class TLineKind {
    Text,        // a rendered line
    Received,    // a line of the body as it came, cut at LF
    NotJsonNote, // the body is no JSON
    NotRdapNote, // the body is JSON but no RDAP object
    EmptyNote,   // the server answered with nothing
};

struct TRdapLine {
    TLineKind kind = TLineKind::Text;
    std::string text;

    bool operator==(const TRdapLine&) const = default;
};

struct TRdapAnswer {
    int status = 200;
    std::string reason;     // the HTTP reason phrase
    std::string retryAfter; // the Retry-After header, as sent
    std::string body;
    bool json = false; // the query asked for the JSON itself
};

std::vector<TRdapLine> RenderRdapAnswer(const TRdapAnswer& answer);

// The lines of one RDAP object (with its notices), as above.
std::vector<std::string> RenderRdapObject(const TJsonValue& object);

} // namespace rdap
