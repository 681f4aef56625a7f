// Operations on this node, NBP and ZIP, and the chooser's default printer.
#include "answer_budget.h"
#include "latin1.h"
#include "operations.h"

namespace atsvc::ops {

using atw::BytesToText;
using nlohmann::json;

namespace {

json EntityJson(const atw::Entity& e)
{
    return {{"object", BytesToText(e.name.object)}, {"type", BytesToText(e.name.type)},
            {"zone", BytesToText(e.name.zone)},     {"network", e.address.network},
            {"node", e.address.node},               {"socket", e.address.socket}};
}

constexpr const char* kNoZones = "no zones on this network";

}  // namespace

void NetInfo(Request& r)
{
    const NodeInfo n = r.Net().Node();
    json adapter = json::array();
    for (uint8_t b : n.adapter)
        adapter.push_back(b);
    r.Answer(0, {{"network", n.network}, {"node", n.node}, {"rangeFirst", n.rangeFirst}, {"rangeLast", n.rangeLast},
                 {"zone", BytesToText(n.zone)}, {"adapter", adapter}});
}

void SetZone(Request& r)
{
    const std::string zone = r.Name("zone");
    std::string canonical;
    if (!r.Ok() || r.Net().SetZone(zone, canonical) != 0) {
        r.Answer(atw::kErrFailed, {{"error", "not a local zone"}});
        return;
    }
    r.Answer(0, {{"zone", BytesToText(canonical)}});
}

void Zones(Request& r)
{
    const bool local = r.Bool("local");
    r.Net().Zones(r.Client(), local, [done = r.Later()](int32_t result, std::vector<std::string> zones) {
        if (result != 0) {
            done({result, {{"error", kNoZones}}});
            return;
        }
        done({0, {{"zones", AnswerBudget::List(zones, [](const std::string& z) { return json(BytesToText(z)); })}}});
    });
}

void MyZone(Request& r)
{
    const NodeInfo n = r.Net().Node();
    if (n.zone.empty())
        r.Answer(atw::kErrFailed, {{"error", kNoZones}});
    else
        r.Answer(0, {{"zone", BytesToText(n.zone)}});
}

void Lookup(Request& r)
{
    const atw::EntityName pattern{r.NbpName("object"), r.NbpName("type"), r.NbpName("zone")};
    const int64_t max = r.Int("max");
    if (!r.Ok() || max <= 0 || max > 65535) {
        r.Answer(atw::kErrFailed, {{"error", "bad lookup"}});
        return;
    }
    r.Net().Lookup(r.Client(), pattern, static_cast<std::size_t>(max),
                   [done = r.Later()](int32_t result, std::vector<atw::Entity> found) {
                       done({result, {{"answers", AnswerBudget::List(found, EntityJson)}}});
                   });
}

void GetDefaultPrinter(Request& r)
{
    const auto printer = r.Net().DefaultPrinter();
    if (!printer)
        r.Answer(atw::kErrFailed, {{"error", "no default printer"}});
    else
        r.Answer(0, EntityJson(*printer));
}

void SetDefaultPrinter(Request& r)
{
    const atw::EntityName name{r.Name("object"), r.Name("type"), r.Name("zone")};
    if (!r.Ok() || name.object.empty() || name.object.size() > 32 || name.type.size() > 32 || name.zone.size() > 32 ||
        r.Net().SetDefaultPrinter(name) != 0) {
        r.Answer(atw::kErrFailed, {{"error", "bad printer name"}});
        return;
    }
    r.Answer(0);
}

}  // namespace atsvc::ops
