#include "RdapRender.h"

#include <string_view>

namespace rdap {

namespace {

using TLines = std::vector<std::string>;

// An entity's entities may nest as deep as a server likes; past this depth they are not shown.
constexpr int MaxEntityDepth = 8;

// A control character other than the tab would show as a stand-in or break the line.
std::string Clean(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (u == '\t' || (u >= 0x20 && u != 0x7F))
            out += c;
        else if (u != '\r')
            out += "\xEF\xBF\xBD"; // U+FFFD
    }
    return out;
}

std::vector<std::string_view> SplitLines(std::string_view text) {
    std::vector<std::string_view> pieces;
    for (;;) {
        const std::size_t lf = text.find('\n');
        pieces.push_back(text.substr(0, lf));
        if (lf == std::string_view::npos) return pieces;
        text.remove_prefix(lf + 1);
    }
}

bool Blank(std::string_view text) {
    return text.find_first_not_of(" \t\r\n") == std::string_view::npos;
}

std::string Capitalized(std::string text) {
    if (!text.empty() && text[0] >= 'a' && text[0] <= 'z')
        text[0] = static_cast<char>(text[0] - 32);
    return text;
}

// Strings of an array, or the string itself, joined by `glue`.
std::string Joined(const TJsonValue& value, std::string_view glue) {
    if (value.IsString()) return value.text;
    std::string out;
    for (const TJsonValue& item : value.items) {
        const std::string part = Joined(item, glue);
        if (Blank(part)) continue;
        if (!out.empty()) out += glue;
        out += part;
    }
    return out;
}

bool HasString(const TJsonValue* value, std::string_view wanted) {
    if (!value) return false;
    if (value->IsString()) return value->text == wanted;
    for (const TJsonValue& item : value->items)
        if (item.IsString() && item.text == wanted) return true;
    return false;
}

class TRenderer {
  public:
    TLines lines;

    void Object(const TJsonValue& object) {
        const std::string cls = object.Text("objectClassName");
        if (cls == "domain")
            Domain(object);
        else if (cls == "ip network")
            Network(object);
        else if (cls == "autnum")
            Autnum(object);
        else if (cls == "nameserver")
            Nameserver(object);
        else if (cls == "entity")
            Entity(object, 0, 0);
        else
            Common(object, 0);
    }

    void SearchResults(const TJsonValue& answer) {
        for (std::size_t k = 0; k < answer.keys.size(); ++k) {
            const std::string& key = answer.keys[k];
            if (key.size() < 13 || key.compare(key.size() - 13, 13, "SearchResults") != 0) continue;
            for (const TJsonValue& result : answer.items[k].items) {
                if (!result.IsObject()) continue;
                if (!lines.empty()) lines.emplace_back();
                Object(result);
            }
        }
    }

    void Error(const std::string& code, const std::string& title, const TJsonValue* object) {
        std::string head = "Error: " + code;
        if (!title.empty()) head += " " + title;
        lines.push_back(Clean(head));
        if (!object) return;
        for (const TJsonValue& line : object->Items("description"))
            if (line.IsString()) Field(0, "Description", line.text);
    }

    // The answer's notices, after a blank line when something stands before them.
    void Notices(const TJsonValue& answer) {
        const auto& notices = answer.Items("notices");
        if (notices.empty()) return;
        if (!lines.empty()) lines.emplace_back();
        for (const TJsonValue& notice : notices)
            Note(0, "Notice", notice);
    }

    void Field(int indent, std::string_view label, std::string_view value) {
        if (Blank(value)) return;
        for (const std::string_view piece : SplitLines(value))
            if (!Blank(piece)) Line(indent, std::string(label) + ": " + std::string(piece));
    }

  private:
    void Line(int indent, std::string_view text) {
        lines.push_back(std::string(static_cast<std::size_t>(indent), ' ') + Clean(text));
    }

    void Domain(const TJsonValue& d) {
        const std::string ldh = d.Text("ldhName");
        Field(0, "Domain Name", ldh);
        const std::string unicode = d.Text("unicodeName");
        if (unicode != ldh) Field(0, "Unicode Name", unicode);
        Field(0, "Handle", d.Text("handle"));
        Status(0, d);
        Events(0, d);
        for (const TJsonValue& ns : d.Items("nameservers")) {
            std::string name = ns.Text("ldhName");
            if (name.empty()) name = ns.Text("unicodeName");
            const std::string addresses = Addresses(ns);
            if (!addresses.empty()) name += " (" + addresses + ")";
            Field(0, "Name Server", name);
        }
        if (const TJsonValue* dns = d.Find("secureDNS")) SecureDns(*dns);
        Tail(0, d, 0);
    }

    void Network(const TJsonValue& n) {
        Field(0, "Handle", n.Text("handle"));
        Range("Address Range", n.Text("startAddress"), n.Text("endAddress"));
        for (const TJsonValue& cidr : n.Items("cidr0_cidrs")) {
            std::string prefix = cidr.Text("v4prefix");
            if (prefix.empty()) prefix = cidr.Text("v6prefix");
            if (!prefix.empty()) Field(0, "CIDR", prefix + "/" + cidr.Text("length"));
        }
        Field(0, "IP Version", n.Text("ipVersion"));
        Field(0, "Name", n.Text("name"));
        Field(0, "Type", n.Text("type"));
        Field(0, "Country", n.Text("country"));
        Field(0, "Parent Handle", n.Text("parentHandle"));
        Status(0, n);
        Events(0, n);
        Tail(0, n, 0);
    }

    void Autnum(const TJsonValue& a) {
        Field(0, "Handle", a.Text("handle"));
        Range("AS Numbers", a.Text("startAutnum"), a.Text("endAutnum"));
        Field(0, "Name", a.Text("name"));
        Field(0, "Type", a.Text("type"));
        Field(0, "Country", a.Text("country"));
        Status(0, a);
        Events(0, a);
        Tail(0, a, 0);
    }

    void Nameserver(const TJsonValue& ns) {
        const std::string ldh = ns.Text("ldhName");
        Field(0, "Name Server", ldh);
        const std::string unicode = ns.Text("unicodeName");
        if (unicode != ldh) Field(0, "Unicode Name", unicode);
        Field(0, "Handle", ns.Text("handle"));
        if (const TJsonValue* ip = ns.Find("ipAddresses")) {
            for (const char* family : {"v4", "v6"})
                for (const TJsonValue& address : ip->Items(family))
                    if (address.IsString()) Field(0, "IP Address", address.text);
        }
        Status(0, ns);
        Events(0, ns);
        Tail(0, ns, 0);
    }

    // "Entity: HANDLE (roles)", then the entity's own fields one level in.
    void Entity(const TJsonValue& e, int indent, int depth) {
        std::string head = e.Text("handle");
        const TJsonValue* roleList = e.Find("roles");
        const std::string roles = roleList ? Joined(*roleList, ", ") : std::string();
        if (!roles.empty()) head += (head.empty() ? "(" : " (") + roles + ")";
        Line(indent, head.empty() ? "Entity:" : "Entity: " + head);
        const int in = indent + 2;
        if (const TJsonValue* card = e.Find("vcardArray")) VCard(in, *card);
        for (const TJsonValue& id : e.Items("publicIds"))
            Field(in, id.Text("type").empty() ? "Public ID" : id.Text("type"),
                  id.Text("identifier"));
        Status(in, e);
        Events(in, e);
        for (const TJsonValue& network : e.Items("networks"))
            Field(in, "Network",
                  Described(network.Text("handle"), network.Text("startAddress"),
                            network.Text("endAddress")));
        for (const TJsonValue& autnum : e.Items("autnums"))
            Field(in, "Autnum",
                  Described(autnum.Text("handle"), autnum.Text("startAutnum"),
                            autnum.Text("endAutnum")));
        Tail(in, e, depth + 1);
    }

    // Entities, remarks, links and the port-43 server: what every object may have.
    void Tail(int indent, const TJsonValue& object, int depth) {
        if (depth < MaxEntityDepth)
            for (const TJsonValue& entity : object.Items("entities"))
                if (entity.IsObject()) Entity(entity, indent, depth);
        for (const TJsonValue& remark : object.Items("remarks"))
            Note(indent, "Remark", remark);
        Links(indent, object);
        Field(indent, "Whois Server", object.Text("port43"));
    }

    void Common(const TJsonValue& object, int indent) {
        Field(indent, "Handle", object.Text("handle"));
        Status(indent, object);
        Events(indent, object);
        Tail(indent, object, 0);
    }

    void Status(int indent, const TJsonValue& object) {
        for (const TJsonValue& status : object.Items("status"))
            if (status.IsString()) Field(indent, "Status", status.text);
    }

    // "Registration: 1997-09-15T04:00:00Z (by ACTOR)".
    void Events(int indent, const TJsonValue& object) {
        for (const TJsonValue& event : object.Items("events")) {
            const std::string action = event.Text("eventAction");
            std::string date = event.Text("eventDate");
            if (action.empty() || date.empty()) continue;
            const std::string actor = event.Text("eventActor");
            if (!actor.empty()) date += " (by " + actor + ")";
            Field(indent, Capitalized(action), date);
        }
    }

    // A remark or a notice: its title (or first line), the rest of its description and its
    // links one level in.
    void Note(int indent, std::string_view label, const TJsonValue& note) {
        std::vector<std::string> text;
        if (!note.Text("title").empty()) text.push_back(note.Text("title"));
        for (const TJsonValue& line : note.Items("description"))
            if (line.IsString())
                for (const std::string_view piece : SplitLines(line.text))
                    if (!Blank(piece)) text.emplace_back(piece);
        if (text.empty() && note.Items("links").empty()) return;
        Line(indent, std::string(label) + ":" + (text.empty() ? "" : " " + text[0]));
        for (std::size_t k = 1; k < text.size(); ++k)
            Line(indent + 2, text[k]);
        Links(indent + 2, note);
    }

    void Links(int indent, const TJsonValue& object) {
        for (const TJsonValue& link : object.Items("links")) {
            std::string href = link.Text("href");
            if (href.empty()) continue;
            const std::string rel = link.Text("rel");
            if (!rel.empty()) href += " (" + rel + ")";
            Field(indent, "Link", href);
        }
    }

    // Name, organisation, address, e-mail, telephone and fax, web address; in this order
    // whatever order the card has them in.
    void VCard(int indent, const TJsonValue& card) {
        if (card.items.size() < 2 || !card.items[1].IsArray()) return;
        const auto& properties = card.items[1].items;
        const auto each = [&](std::string_view name, auto&& show) {
            for (const TJsonValue& p : properties)
                if (p.IsArray() && p.items.size() >= 4 && p.items[0].IsString() &&
                    p.items[0].text == name)
                    show(p.items[1], p.items[3]);
        };
        each("fn", [&](const TJsonValue&, const TJsonValue& v) {
            Field(indent, "Name", Joined(v, " "));
        });
        each("org", [&](const TJsonValue&, const TJsonValue& v) {
            Field(indent, "Organization", Joined(v, ", "));
        });
        each("adr", [&](const TJsonValue& params, const TJsonValue& v) {
            const std::string label = params.Text("label");
            Field(indent, "Address", label.empty() ? Joined(v, ", ") : label);
        });
        each("email", [&](const TJsonValue&, const TJsonValue& v) {
            Field(indent, "Email", Joined(v, " "));
        });
        each("tel", [&](const TJsonValue& params, const TJsonValue& v) {
            std::string number = Joined(v, " ");
            if (number.compare(0, 4, "tel:") == 0) number.erase(0, 4);
            Field(indent, HasString(params.Find("type"), "fax") ? "Fax" : "Phone", number);
        });
        each("url",
             [&](const TJsonValue&, const TJsonValue& v) { Field(indent, "URL", Joined(v, " ")); });
    }

    void SecureDns(const TJsonValue& dns) {
        if (const TJsonValue* signedFlag = dns.Find("delegationSigned"))
            if (signedFlag->type == TJsonValue::Type::Bool)
                Field(0, "DNSSEC", signedFlag->boolean ? "signed delegation" : "unsigned");
        for (const TJsonValue& ds : dns.Items("dsData"))
            Field(0, "DS",
                  ds.Text("keyTag") + " " + ds.Text("algorithm") + " " + ds.Text("digestType") +
                      " " + ds.Text("digest"));
    }

    void Range(std::string_view label, const std::string& first, const std::string& last) {
        if (first.empty() && last.empty()) return;
        Field(0, label, first == last || last.empty() ? first : first + " - " + last);
    }

    static std::string Addresses(const TJsonValue& ns) {
        std::string out;
        if (const TJsonValue* ip = ns.Find("ipAddresses"))
            for (const char* family : {"v4", "v6"})
                for (const TJsonValue& address : ip->Items(family))
                    if (address.IsString()) out += (out.empty() ? "" : ", ") + address.text;
        return out;
    }

    static std::string Described(std::string handle, const std::string& first,
                                 const std::string& last) {
        if (first.empty()) return handle;
        const std::string range = first == last || last.empty() ? first : first + " - " + last;
        return handle.empty() ? range : handle + " (" + range + ")";
    }
};

bool IsRdapObject(const TJsonValue& value) {
    if (!value.IsObject()) return false;
    if (value.Find("objectClassName") || value.Find("errorCode")) return true;
    const TJsonValue* conformance = value.Find("rdapConformance");
    if (conformance && conformance->IsArray()) return true;
    for (std::size_t k = 0; k < value.keys.size(); ++k) {
        const std::string& key = value.keys[k];
        if (key.size() > 13 && key.compare(key.size() - 13, 13, "SearchResults") == 0 &&
            value.items[k].IsArray())
            return true;
    }
    return false;
}

void AddReceived(std::string_view body, std::vector<TRdapLine>& out) {
    for (;;) {
        const std::size_t lf = body.find('\n');
        if (lf == std::string_view::npos) break;
        out.push_back({TLineKind::Received, std::string(body.substr(0, lf))});
        body.remove_prefix(lf + 1);
    }
    if (!body.empty()) out.push_back({TLineKind::Received, std::string(body)});
}

void AddText(const TLines& lines, std::vector<TRdapLine>& out) {
    for (const std::string& line : lines)
        out.push_back({TLineKind::Text, line});
}

} // namespace

std::vector<std::string> RenderRdapObject(const TJsonValue& object) {
    TRenderer renderer;
    if (object.Find("objectClassName"))
        renderer.Object(object);
    else
        renderer.SearchResults(object);
    renderer.Notices(object);
    return renderer.lines;
}

// An error status always leads with its code; the rest depends on what the body holds.
std::vector<TRdapLine> RenderRdapAnswer(const TRdapAnswer& answer) {
    std::vector<TRdapLine> out;
    const bool failed = answer.status < 200 || answer.status > 299;
    const auto document = answer.body.empty() ? std::nullopt : ParseJson(answer.body);
    const bool rdap = document && IsRdapObject(*document);
    const bool errorObject = rdap && document->Find("errorCode");
    TRenderer head;
    if (failed || errorObject) {
        std::string code = rdap && !answer.json ? document->Text("errorCode") : std::string();
        if (code.empty()) code = std::to_string(answer.status);
        std::string title = rdap && !answer.json ? document->Text("title") : std::string();
        if (title.empty()) title = answer.reason;
        head.Error(code, title, rdap && !answer.json ? &*document : nullptr);
        head.Field(0, "Retry-After", answer.retryAfter);
    }
    AddText(head.lines, out);
    if (answer.body.empty()) {
        if (!failed) out.push_back({TLineKind::EmptyNote, {}});
    } else if (!document) {
        out.push_back({TLineKind::NotJsonNote, {}});
        AddReceived(answer.body, out);
    } else if (answer.json) {
        AddText(PrettyJson(*document), out);
    } else if (!rdap) {
        out.push_back({TLineKind::NotRdapNote, {}});
        AddReceived(answer.body, out);
    } else if (failed || errorObject) {
        TRenderer notices;
        notices.Notices(*document);
        if (!notices.lines.empty()) out.push_back({TLineKind::Text, {}}); // apart from the error
        AddText(notices.lines, out);
    } else {
        AddText(RenderRdapObject(*document), out);
    }
    return out;
}

} // namespace rdap
