#include "RdapRender.h"

#include "TempDir.h"

#include <gtest/gtest.h>

using namespace rdap;

namespace {

using Lines = std::vector<std::string>;

Lines TextLines(const std::vector<TRdapLine>& lines) {
    Lines out;
    for (const TRdapLine& line : lines) {
        EXPECT_EQ(line.kind, TLineKind::Text) << line.text;
        out.push_back(line.text);
    }
    return out;
}

Lines FileLines(const std::string& path) {
    Lines lines;
    std::string text = ReadBytes(path);
    for (std::size_t lf; (lf = text.find('\n')) != std::string::npos; text.erase(0, lf + 1))
        lines.push_back(text.substr(0, lf));
    return lines;
}

const std::string Fixtures = KELVANE_RDAP_FIXTURES;

TEST(RdapRender, DomainWithEntitiesNameServersEventsAndNotices) {
    TRdapAnswer answer;
    answer.body = ReadBytes(Fixtures + "/domain.json");
    ASSERT_FALSE(answer.body.empty());
    EXPECT_EQ(TextLines(RenderRdapAnswer(answer)), FileLines(Fixtures + "/domain.txt"));
}

// Each object class, from JSON to lines.
TEST(RdapRender, ObjectsAsLines) {
    const struct {
        const char* name;
        const char* json;
        Lines want;
    } cases[] = {
        {"ip network",
         R"({"objectClassName":"ip network","handle":"133.0.0.0 - 133.255.255.255",
             "startAddress":"133.0.0.0","endAddress":"133.255.255.255","ipVersion":"v4",
             "name":"JPNIC-NET-JP","type":"ALLOCATED PORTABLE","country":"JP",
             "parentHandle":"0.0.0.0 - 255.255.255.255",
             "cidr0_cidrs":[{"v4prefix":"133.0.0.0","length":8}],"status":["active"],
             "remarks":[{"title":"description","description":["Japan Network Information Center"]}],
             "entities":[{"objectClassName":"entity","handle":"JNIC1-AP",
                 "roles":["administrative","technical"],
                 "vcardArray":["vcard",[["version",{},"text","4.0"],
                     ["fn",{},"text","Japan Network Information Center"],
                     ["adr",{"label":"Uchikanda OS Bldg 4F\nChiyoda-ku, Tokyo 101-0047, Japan"},
                      "text",["","","","","","",""]],
                     ["email",{},"text","hostmaster@nic.ad.jp"]]]}],
             "port43":"whois.apnic.net"})",
         {"Handle: 133.0.0.0 - 133.255.255.255", "Address Range: 133.0.0.0 - 133.255.255.255",
          "CIDR: 133.0.0.0/8", "IP Version: v4", "Name: JPNIC-NET-JP", "Type: ALLOCATED PORTABLE",
          "Country: JP", "Parent Handle: 0.0.0.0 - 255.255.255.255", "Status: active",
          "Entity: JNIC1-AP (administrative, technical)",
          "  Name: Japan Network Information Center", "  Address: Uchikanda OS Bldg 4F",
          "  Address: Chiyoda-ku, Tokyo 101-0047, Japan", "  Email: hostmaster@nic.ad.jp",
          "Remark: description", "  Japan Network Information Center",
          "Whois Server: whois.apnic.net"}},
        {"autnum",
         R"({"objectClassName":"autnum","handle":"AS2515","startAutnum":2515,"endAutnum":2515,
             "name":"JPNIC-2Byte-Block","type":"DIRECT ALLOCATION","country":"JP",
             "events":[{"eventAction":"last changed","eventDate":"2020-02-26T01:39:48Z"}]})",
         {"Handle: AS2515", "AS Numbers: 2515", "Name: JPNIC-2Byte-Block",
          "Type: DIRECT ALLOCATION", "Country: JP", "Last changed: 2020-02-26T01:39:48Z"}},
        {"autnum range",
         R"({"objectClassName":"autnum","startAutnum":64496,"endAutnum":64511})",
         {"AS Numbers: 64496 - 64511"}},
        {"entity",
         R"({"objectClassName":"entity","handle":"IRT-JPNIC-JP","roles":["abuse"],
             "vcardArray":["vcard",[["version",{},"text","4.0"],["fn",{},"text","IRT-JPNIC-JP"],
                 ["kind",{},"text","group"],["email",{},"text","hostmaster@nic.ad.jp"],
                 ["email",{"pref":"1"},"text","abuse@nic.ad.jp"],
                 ["url",{},"uri","https://www.nic.ad.jp/"]]],
             "networks":[{"handle":"NET-1","startAddress":"192.0.2.0","endAddress":"192.0.2.255"}],
             "autnums":[{"handle":"AS64496","startAutnum":64496,"endAutnum":64496}],
             "events":[{"eventAction":"registration","eventDate":"2010-01-01T00:00:00Z"}],
             "notices":[{"title":"Source","description":["Objects came from source","JPNIC"]}]})",
         {"Entity: IRT-JPNIC-JP (abuse)", "  Name: IRT-JPNIC-JP", "  Email: hostmaster@nic.ad.jp",
          "  Email: abuse@nic.ad.jp", "  URL: https://www.nic.ad.jp/",
          "  Registration: 2010-01-01T00:00:00Z", "  Network: NET-1 (192.0.2.0 - 192.0.2.255)",
          "  Autnum: AS64496 (64496)", "", "Notice: Source", "  Objects came from source",
          "  JPNIC"}},
        {"name server",
         R"({"objectClassName":"nameserver","ldhName":"ns1.xn--wgv71a119e.jp",
             "unicodeName":"ns1.日本語.jp",
             "ipAddresses":{"v6":["2001:db8::53"],"v4":["192.0.2.53"]}})",
         {"Name Server: ns1.xn--wgv71a119e.jp", "Unicode Name: ns1.日本語.jp",
          "IP Address: 192.0.2.53", "IP Address: 2001:db8::53"}},
        {"search results",
         R"({"rdapConformance":["rdap_level_0"],"domainSearchResults":[
             {"objectClassName":"domain","ldhName":"A.COM"},
             {"objectClassName":"domain","ldhName":"B.COM","unicodeName":"B.COM"}]})",
         {"Domain Name: A.COM", "", "Domain Name: B.COM"}},
        {"help",
         R"({"rdapConformance":["rdap_level_0"],"notices":[{"title":"Help",
             "description":["Ask."],"links":[{"href":"https://rdap.example/help","rel":"help"}]}]})",
         {"Notice: Help", "  Ask.", "  Link: https://rdap.example/help (help)"}},
        {"control characters and line breaks inside values",
         R"({"objectClassName":"domain","ldhName":"x\u0007y","remarks":[
             {"description":["a\r\nb","  ","c\u0000\td"]}],"status":["","x"]})",
         {"Domain Name: x\xEF\xBF\xBDy", "Status: x", "Remark: a", "  b", "  c\xEF\xBF\xBD\td"}},
        {"unknown class and members of the wrong type",
         R"({"objectClassName":"thing","handle":7,"status":"active","events":[1,
             {"eventAction":"x"}],"entities":{"a":1},"links":[{"rel":"self"}]})",
         {"Handle: 7"}},
    };
    for (const auto& c : cases) {
        TRdapAnswer answer;
        answer.body = c.json;
        EXPECT_EQ(TextLines(RenderRdapAnswer(answer)), c.want) << c.name;
    }
}

TEST(RdapRender, EntitiesNestNoDeeperThanEight) {
    std::string json = R"({"objectClassName":"domain","ldhName":"A")";
    std::string tail;
    for (int k = 0; k < 12; ++k) {
        json += R"(,"entities":[{"handle":"E)" + std::to_string(k) + "\"";
        tail += "}]";
    }
    json += tail + "}";
    TRdapAnswer answer;
    answer.body = json;
    const Lines lines = TextLines(RenderRdapAnswer(answer));
    ASSERT_EQ(lines.size(), 9u);
    EXPECT_EQ(lines[8], "              Entity: E7"); // seven levels in
}

// Errors, bodies that are not RDAP, and the JSON itself, with the kind of every line.
TEST(RdapRender, ErrorsOddBodiesAndTheJsonItself) {
    using K = TLineKind;
    const struct {
        const char* name;
        int status;
        const char *reason, *retryAfter, *body;
        bool json;
        std::vector<TRdapLine> want;
    } cases[] = {
        {"404 error object",
         404,
         "Not Found",
         "",
         R"({"errorCode":404,"title":"Not Found","description":["No domain example.invalid."],
             "notices":[{"title":"Terms","description":["t"]}]})",
         false,
         {{K::Text, "Error: 404 Not Found"},
          {K::Text, "Description: No domain example.invalid."},
          {K::Text, ""},
          {K::Text, "Notice: Terms"},
          {K::Text, "  t"}}},
        {"429 with the time to wait",
         429,
         "Too Many Requests",
         "30",
         R"({"errorCode":429,"title":"Too many requests","description":["Slow down."]})",
         false,
         {{K::Text, "Error: 429 Too many requests"},
          {K::Text, "Description: Slow down."},
          {K::Text, "Retry-After: 30"}}},
        {"error object without a title takes the reason phrase",
         500,
         "Internal Server Error",
         "",
         R"({"errorCode":500})",
         false,
         {{K::Text, "Error: 500 Internal Server Error"}}},
        {"error status with an RDAP object that is no error object",
         500,
         "Internal Server Error",
         "",
         R"({"rdapConformance":[],"description":["Database down."]})",
         false,
         {{K::Text, "Error: 500 Internal Server Error"}, {K::Text, "Description: Database down."}}},
        {"error object under status 200",
         200,
         "OK",
         "",
         R"({"errorCode":400,"title":"Bad"})",
         false,
         {{K::Text, "Error: 400 Bad"}}},
        {"503 page of HTML",
         503,
         "Service Unavailable",
         "120",
         "<html>\r\n<body>Service Unavailable</body>\r\n</html>",
         false,
         {{K::Text, "Error: 503 Service Unavailable"},
          {K::Text, "Retry-After: 120"},
          {K::NotJsonNote, ""},
          {K::Received, "<html>\r"},
          {K::Received, "<body>Service Unavailable</body>\r"},
          {K::Received, "</html>"}}},
        {"404 with nothing", 404, "Not Found", "", "", false, {{K::Text, "Error: 404 Not Found"}}},
        {"200 with nothing", 200, "OK", "", "", false, {{K::EmptyNote, ""}}},
        {"text that is no JSON",
         200,
         "OK",
         "",
         "plain\xE9 text\n\nlast",
         false,
         {{K::NotJsonNote, ""},
          {K::Received, "plain\xE9 text"},
          {K::Received, ""},
          {K::Received, "last"}}},
        {"JSON that is no RDAP object",
         200,
         "OK",
         "",
         "{\"hello\": \"world\"}\n",
         false,
         {{K::NotRdapNote, ""}, {K::Received, "{\"hello\": \"world\"}"}}},
        {"JSON array", 200, "OK", "", "[1]", false, {{K::NotRdapNote, ""}, {K::Received, "[1]"}}},
        {"the JSON itself",
         200,
         "OK",
         "",
         R"({"objectClassName":"autnum","startAutnum":1})",
         true,
         {{K::Text, "{"},
          {K::Text, R"(  "objectClassName": "autnum",)"},
          {K::Text, R"(  "startAutnum": 1)"},
          {K::Text, "}"}}},
        {"the JSON itself of an error",
         404,
         "Not Found",
         "",
         R"({"errorCode":404})",
         true,
         {{K::Text, "Error: 404 Not Found"},
          {K::Text, "{"},
          {K::Text, R"(  "errorCode": 404)"},
          {K::Text, "}"}}},
        {"the JSON itself asked of no JSON",
         200,
         "OK",
         "",
         "oops",
         true,
         {{K::NotJsonNote, ""}, {K::Received, "oops"}}},
    };
    for (const auto& c : cases) {
        TRdapAnswer answer{c.status, c.reason, c.retryAfter, c.body, c.json};
        const std::vector<TRdapLine> lines = RenderRdapAnswer(answer);
        EXPECT_EQ(lines, c.want) << c.name;
    }
}

} // namespace
