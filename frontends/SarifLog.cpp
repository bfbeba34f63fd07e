#include "frontends/SarifLog.h"

#include "check/FindingKind.h"
#include "frontends/ScreenJson.h"

#include <algorithm>

namespace
{
// The first entry of each code, in the table's order: the rules' order, which results
// refer to by index.
std::vector<const FindingEntry*> RuleEntries()
{
    std::vector<const FindingEntry*> rules;
    for (const FindingEntry& entry : AllFindingEntries())
    {
        const auto same = [&](const FindingEntry* rule)
        { return std::string_view(rule->code) == entry.code; };
        if (std::none_of(rules.begin(), rules.end(), same))
            rules.push_back(&entry);
    }
    return rules;
}

Text MessageObject(std::string_view text)
{
    return "{\"text\": " + JsonString(text) + "}";
}
} // namespace

Text UriReference(std::string_view path)
{
    static constexpr char Hex[] = "0123456789ABCDEF";
    Text uri = path.starts_with('/') ? "file://" : "";
    for (const char c : path)
    {
        const auto byte = static_cast<unsigned char>(c);
        const bool unreserved = (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') ||
                                (byte >= '0' && byte <= '9') || byte == '-' || byte == '.' ||
                                byte == '_' || byte == '~' || byte == '/';
        if (unreserved)
            uri += c;
        else
        {
            uri += '%';
            uri += Hex[byte >> 4];
            uri += Hex[byte & 0xF];
        }
    }
    return uri;
}

Text SarifLog(const std::vector<Finding>& findings, std::string_view toolVersion)
{
    const std::vector<const FindingEntry*> rules = RuleEntries();
    Text log = "{\n"
               "  \"$schema\": "
               "\"https://docs.oasis-open.org/sarif/sarif/v2.1.0/errata01/os/schemas/"
               "sarif-schema-2.1.0.json\",\n"
               "  \"version\": \"2.1.0\",\n"
               "  \"runs\": [\n"
               "    {\n"
               "      \"tool\": {\n"
               "        \"driver\": {\n"
               "          \"name\": \"tavrino\",\n"
               "          \"version\": " +
               JsonString(toolVersion) +
               ",\n"
               "          \"rules\": [";
    for (std::size_t i = 0; i < rules.size(); ++i)
    {
        const FindingEntry& rule = *rules[i];
        const std::string_view advice = FindingAdvice(rule.code);
        log += i == 0 ? "\n" : ",\n";
        log += "            {\"id\": " + JsonString(rule.code) +
               ", \"shortDescription\": " + MessageObject(FindingText(rule.kind, {"…", "…", "…"})) +
               ", \"fullDescription\": " + MessageObject(advice) +
               ", \"help\": " + MessageObject(advice) +
               ", \"defaultConfiguration\": {\"level\": \"" + SeverityName(rule.severity) + "\"}}";
    }
    log += "\n          ]\n"
           "        }\n"
           "      },\n"
           "      \"results\": [";
    bool first = true;
    for (const Finding& finding : findings)
    {
        const auto rule = std::find_if(rules.begin(), rules.end(),
                                       [&](const FindingEntry* entry)
                                       { return std::string_view(entry->code) == finding.code; });
        log += first ? "\n" : ",\n";
        first = false;
        log += "        {\"ruleId\": " + JsonString(finding.code);
        if (rule != rules.end())
            log += ", \"ruleIndex\": " + DecimalText(rule - rules.begin());
        log += ", \"level\": \"" + Text(SeverityName(finding.severity)) +
               "\", \"message\": " + MessageObject(finding.text) +
               ", \"locations\": [{\"physicalLocation\": {\"artifactLocation\": {\"uri\": " +
               JsonString(UriReference(finding.path)) +
               "}, \"region\": {\"startLine\": " + DecimalText(std::max(finding.line, 1)) + "}}}]}";
    }
    log += first ? "]\n" : "\n      ]\n";
    log += "    }\n"
           "  ]\n"
           "}\n";
    return log;
}
