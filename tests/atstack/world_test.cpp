// The world model: world-file reading and its errors, NBP matching, zone
// lists, network names, the AppleShare buffers byte by byte, the state file.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "latin1.h"
#include "pap_types.h"
#include "world.h"
#include "world_file.h"

namespace {

using namespace atw;

const char* kWorld = R"({
  "workstation": { "name": "Me", "network": 1005, "node": 56, "cableRange": [1000, 1009],
                   "zone": "Engineering", "adapter": "00:A0:24:1B:2C:3D" },
  "zones": [ { "name": "Engineering", "local": true }, { "name": "Marketing", "local": true },
             { "name": "AppleShare IP Hosts" }, { "name": "Remote" } ],
  "defaultPrinter": "lw1",
  "printers": [
    { "id": "lw1", "name": "LaserWriter Pro", "zone": "Engineering",
      "address": { "network": 1002, "node": 128, "socket": 129 } },
    { "name": "Office LW", "zone": "Marketing" },
    { "name": "ImageWriter", "type": "ImageWriter" }
  ],
  "entities": [ { "object": "Anna PC", "type": "VestrelNode", "zone": "Engineering" },
                { "object": "Remote PC", "type": "VestrelNode", "zone": "Remote" } ],
  "servers": [ {
    "name": "Eng Server", "zone": "Engineering", "address": { "network": 1001, "node": 10, "socket": 250 },
    "users": [ { "name": "Anna", "id": 101, "password": "apple1" }, { "name": "Bob", "id": 102 } ],
    "groups": [ { "name": "Engineers", "id": 201, "members": ["Anna"] } ],
    "session": { "user": "Anna", "connectedAt": "1996-03-14T08:30:00Z" },
    "volumes": [ {
      "name": "Projects", "displayName": "Eng Projects", "password": "pw",
      "bytesFree": 1000, "bytesTotal": 3000000000,
      "created": "1970-01-02T00:00:00Z", "modified": null, "backup": 5,
      "root": { "owner": 102, "group": "Engineers",
        "access": { "owner": ["seeFolders", "seeFiles", "makeChanges"], "group": ["seeFolders", "seeFiles"],
                    "everyone": ["seeFolders"] },
        "children": [
          { "name": "Specs", "shortName": "SPECS", "owner": "Anna", "modified": "2000-01-01T00:00:00Z",
            "attributes": ["system", "renameInhibit"], "children": [
              { "name": "Notes", "shortName": "NOTES.TXT", "type": "TEXT", "creator": "ttxt",
                "dataFork": 1234, "resourceFork": 56, "backup": null,
                "attributes": ["writeInhibit", "copyProtect", "deleteInhibit"] } ] } ] } } ] } ]
})";

World Load(const std::string& text = kWorld)
{
    WorldLoad l = ReadWorld(text, "test.json");
    EXPECT_TRUE(l.ok) << l.error;
    return l.world;
}

std::string ErrorOf(const std::string& text)
{
    WorldLoad l = ReadWorld(text, "w.json");
    EXPECT_FALSE(l.ok);
    return l.error;
}

template <typename T>
T At(const ATKIFSBuffer& b, std::size_t offset)
{
    T v;
    std::memcpy(&v, b.data() + offset, sizeof v);
    return v;
}

TEST(WorldFile, ReadsTheWorkstation)
{
    World w = Load();
    EXPECT_EQ(w.workstation.network, 1005);
    EXPECT_EQ(w.workstation.node, 56);
    EXPECT_EQ(w.workstation.rangeFirst, 1000);
    EXPECT_EQ(w.workstation.rangeLast, 1009);
    EXPECT_EQ(w.workstation.zone, "Engineering");
    EXPECT_EQ(w.workstation.adapter, (std::array<uint8_t, 6>{0x00, 0xA0, 0x24, 0x1B, 0x2C, 0x3D}));
    ASSERT_TRUE(w.defaultPrinter);
    EXPECT_EQ(w.defaultPrinter->object, "LaserWriter Pro");
}

TEST(WorldFile, ErrorsNameThePlace)
{
    EXPECT_EQ(ErrorOf(R"({"workstation": {"network": 1, "node": 300}})"), "w.json: workstation.node: must lie in 1..254");
    // A registration's node may be 0 (an address as a lookup can report it).
    EXPECT_EQ(ErrorOf(R"({"workstation": {"network": 1, "node": 3}, "entities": [{"object": "R", "type": "T", "address": {"network": 1, "node": 255, "socket": 4}}]})"),
              "w.json: entities[0].address.node: must lie in 0..254");
    EXPECT_TRUE(ReadWorld(R"({"workstation": {"network": 1, "node": 3}, "entities": [{"object": "R", "type": "T", "address": {"network": 1, "node": 0, "socket": 4}}]})", "w.json").ok);
    EXPECT_EQ(ErrorOf(R"({"workstation": {"network": 1, "node": 3}, "printers": [{"name": "A"}, {"name": "B", "openDelayMs": "x"}]})"),
              "w.json: printers[1].openDelayMs: expected an integer");
    EXPECT_EQ(ErrorOf(R"({"workstation": {"network": 1, "node": 3}, "printers": [{"name": "A", "colour": 1}]})"),
              "w.json: printers[0].colour: unknown field");
    EXPECT_EQ(ErrorOf(R"({"zones": [{"name": "Z", "local": true}], "workstation": {"network": 1, "node": 3, "zone": "Q"}})"),
              "w.json: workstation.zone: must be one of the local zones");
    EXPECT_EQ(ErrorOf("{\n  \"workstation\": {\n    \"network\": 1,,\n"),
              "w.json: line 3, column 18: syntax error while parsing object key - unexpected ','; expected string literal");
    EXPECT_EQ(ErrorOf(R"({"workstation": {"network": 1, "node": 3}, "printers": [{"name": "123456789012345678901234567890123"}]})"),
              "w.json: printers[0].name: longer than 32 characters");
    EXPECT_NE(ErrorOf(R"({"workstation": {"network": 1, "node": 3}, "servers": [{"name": "S", "volumes": [{"name": "V", "root": {"children": [{"name": "f", "modified": "1996-13-01T00:00:00Z"}]}}]}]})")
                  .find("servers[0].volumes[0].root.children[0].modified"),
              std::string::npos);
}

TEST(WorldFile, InterpretingPrintersAndTheFaultsOfTheirJobs)
{
    const std::string ws = R"({"workstation": {"network": 1, "node": 3}, "printers": [)";
    World w = Load(ws + R"({"name": "A", "interpreter": true},
        {"name": "B", "interpreter": {"resolution": 300, "fonts": ["Courier"], "pages": 2}, "status": {"idle": "x"},
         "faults": [{"at": "job", "nth": 2, "printerError": "out of paper", "ms": 100}]},
        {"name": "C", "interpreter": false}]})");
    ASSERT_TRUE(w.printers[0].interpreter);
    EXPECT_EQ(w.printers[0].interpreter->fonts.size(), 35u);
    EXPECT_EQ(w.printers[0].statusIdle, "%%[ status: idle ]%%");
    EXPECT_EQ(w.printers[0].statusBusy, "%%[ status: busy; source: AppleTalk ]%%");
    EXPECT_EQ(w.printers[1].interpreter->resolution, 300);
    EXPECT_EQ(w.printers[1].interpreter->fonts, std::vector<std::string>{"Courier"});
    EXPECT_EQ(w.printers[1].statusIdle, "x");
    EXPECT_EQ(w.printers[1].statusWaiting, "%%[ status: waiting; source: AppleTalk ]%%");
    ASSERT_NE(w.printers[1].FaultAt(PrinterFault::At::Job, 2), nullptr);
    EXPECT_EQ(w.printers[1].FaultAt(PrinterFault::At::Job, 2)->printerError, "out of paper");
    EXPECT_FALSE(w.printers[2].interpreter);

    EXPECT_EQ(ErrorOf(ws + R"({"name": "A", "interpreter": {"fonts": ["Times Roman"]}}]})"),
              "w.json: printers[0].interpreter.fonts[0]: expected a font name of letters, digits, '-', '_' and '.'");
    EXPECT_EQ(ErrorOf(ws + R"({"name": "A", "interpreter": {"resolution": 5000}}]})"),
              "w.json: printers[0].interpreter.resolution: must lie in 18..600");
    EXPECT_EQ(ErrorOf(ws + R"({"name": "A", "faults": [{"at": "job", "printerError": "x"}]}]})"),
              "w.json: printers[0].faults[0].at: only an interpreting printer (\"interpreter\") meets faults of its jobs");
    EXPECT_EQ(ErrorOf(ws + R"({"name": "A", "interpreter": true, "faults": [{"at": "job"}]}]})"),
              "w.json: printers[0].faults[0].printerError: missing");
    EXPECT_EQ(ErrorOf(ws + R"({"name": "A", "faults": [{"at": "open", "ms": 3}]}]})"),
              "w.json: printers[0].faults[0].ms: only faults \"at\": \"job\" have these");
}

TEST(WorldFile, HostileNestingIsRefusedNotFollowed)
{
    // Folders a hundred thousand levels deep, and junk nested as deep.
    std::string deep = R"({"workstation": {"network": 1, "node": 3}, "servers": [{"name": "S", "volumes": [
        {"name": "V", "root": {"children": [)";
    for (int i = 0; i < 100000; ++i)
        deep += R"({"name": "a", "children": [)";
    for (int i = 0; i < 100000; ++i)
        deep += "]}";
    deep += "]}}]}]}";
    EXPECT_EQ(ErrorOf(deep).rfind("w.json: line 2, column ", 0), 0u);
    EXPECT_NE(ErrorOf(deep).find("nested deeper than 100 levels"), std::string::npos);
    EXPECT_NE(ErrorOf("{\"description\": " + std::string(300000, '[')).find("nested deeper"), std::string::npos);
    // Brackets inside strings are text, not nesting.
    Load(R"({"description": ")" + std::string(500, '[') + R"(", "workstation": {"network": 1, "node": 3}})");
    std::string error;
    World w = Load();
    EXPECT_FALSE(ApplyState(w, std::string(1000, '{'), "s.json", error));
    EXPECT_EQ(error, "s.json: line 1, column 101: nested deeper than 100 levels");
}

TEST(WorldFile, ANetworkWithoutZones)
{
    World w = Load(R"({"workstation": {"network": 7, "node": 3}, "printers": [{"name": "P"}]})");
    EXPECT_TRUE(w.zones.empty());
    EXPECT_TRUE(w.workstation.zone.empty());
    EXPECT_TRUE(w.ZoneList(false).empty());
    EXPECT_EQ(w.printers[0].name.zone, "*");
    auto found = w.Lookup({"=", "LaserWriter", "*"}, 10);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].name.zone, "*");
    EXPECT_NE(ErrorOf(R"({"workstation": {"network": 7, "node": 3}, "printers": [{"name": "P", "zone": "Z"}]})"), "");
}

TEST(NBP, MatchingIsCaseInsensitiveWithWildcards)
{
    EXPECT_TRUE(NBPFieldMatches("=", "anything"));
    EXPECT_TRUE(NBPFieldMatches("laserwriter", "LaserWriter"));
    EXPECT_FALSE(NBPFieldMatches("LaserWriter", "LaserWriter II"));
    const std::string w = "\xC5";
    EXPECT_TRUE(NBPFieldMatches("Laser" + w, "LaserWriter II"));
    EXPECT_TRUE(NBPFieldMatches(w + "writer" + w, "LaserWriter II"));
    EXPECT_TRUE(NBPFieldMatches("Office" + w + "LW", "Office LW"));
    EXPECT_TRUE(NBPFieldMatches(w, ""));
    EXPECT_FALSE(NBPFieldMatches("Office" + w + "X", "Office LW"));
}

TEST(NBP, LookupResolvesStarAndCapsAnswers)
{
    World w = Load();
    auto all = w.Lookup({"=", "=", "*"}, 1024);
    // Me (the workstation), LaserWriter Pro, ImageWriter, Eng Server, Anna PC: all in Engineering.
    ASSERT_EQ(all.size(), 5u);
    EXPECT_EQ(all[0].name.object, "Me");
    EXPECT_EQ(all[0].name.type, "VestrelNode");
    EXPECT_EQ(all[1].name.object, "LaserWriter Pro");
    EXPECT_EQ(all[1].address, (Address{1002, 128, 129}));
    EXPECT_EQ(w.Lookup({"=", "=", "*"}, 2).size(), 2u);
    EXPECT_EQ(w.Lookup({"=", "laserwriter", "marketing"}, 10).size(), 1u);
    EXPECT_EQ(w.Lookup({"=", "=", "Nowhere"}, 10).size(), 0u);
    EXPECT_EQ(w.Lookup({"=", "AFPServer", "engineering"}, 10).at(0).name.object, "Eng Server");
}

TEST(ZIP, LocalAndAllZones)
{
    World w = Load();
    EXPECT_EQ(w.ZoneList(true), (std::vector<std::string>{"Engineering", "Marketing"}));
    EXPECT_EQ(w.ZoneList(false).size(), 4u);
    EXPECT_EQ(w.FindLocalZone("marketing"), "Marketing");
    EXPECT_FALSE(w.FindLocalZone("Remote"));
}

TEST(Names, BitmapOfEveryKind)
{
    World w = Load();
    EXPECT_EQ(NameBitmap(w, "\\\\Engineering"), 0x1u);
    EXPECT_EQ(NameBitmap(w, "\\\\eng server"), 0x2u);
    EXPECT_EQ(NameBitmap(w, "\\\\Eng Server\\Projects"), 0x4u);
    EXPECT_EQ(NameBitmap(w, "\\\\Eng Server\\Projects\\"), 0x8u);
    EXPECT_EQ(NameBitmap(w, "\\\\Eng Server\\Projects\\Specs"), 0x8u);
    EXPECT_EQ(NameBitmap(w, "\\\\Eng Server\\Projects\\Specs\\Notes"), 0x10u);
    EXPECT_EQ(NameBitmap(w, "LaserWriter Pro:LaserWriter@Engineering"), 0x800u);
    EXPECT_EQ(NameBitmap(w, "\\\\ImageWriter:ImageWriter@*"), 0x800u);
    EXPECT_EQ(NameBitmap(w, "Anna PC:VestrelNode@Engineering"), 0u);
    EXPECT_EQ(NameBitmap(w, "C:\\Windows"), 0u);
    EXPECT_EQ(NameBitmap(w, "\\\\Eng Server\\Nope"), 0u);
    EXPECT_EQ(NameBitmap(w, "\\\\Eng Server\\Projects\\Specs\\Missing"), 0u);
}

TEST(Names, ParseRemoteName)
{
    World w = Load();
    auto p = ParseRemoteName(w, "LaserWriter Pro:LaserWriter@Engineering");
    ASSERT_TRUE(p);
    EXPECT_EQ(p->object, "LaserWriter Pro");
    EXPECT_EQ(p->type, "LaserWriter");
    EXPECT_EQ(p->zone, "Engineering");
    p = ParseRemoteName(w, "\\\\marketing");
    ASSERT_TRUE(p);
    EXPECT_EQ(p->zone, "Marketing");
    p = ParseRemoteName(w, "\\\\eng server\\projects\\Specs\\Notes");
    ASSERT_TRUE(p);
    EXPECT_EQ(p->object, "Eng Server");
    EXPECT_EQ(p->zone, "Engineering");
    EXPECT_EQ(p->volume, "Projects");
    EXPECT_EQ(p->path, "Specs\\Notes");
    EXPECT_FALSE(ParseRemoteName(w, "\\\\Nowhere"));
    EXPECT_FALSE(ParseRemoteName(w, "plain"));
}

TEST(AFP, FileBufferByteByByte)
{
    World w = Load();
    ATKIFSBuffer b;
    ASSERT_EQ(BuildFlDrParams(w, "\\\\Eng Server\\Projects\\Specs\\Notes", b), 0);
    EXPECT_EQ(At<int32_t>(b, 426), 1);  // mapping reference of the first server
    EXPECT_EQ(At<uint16_t>(b, 475), kAttrWriteInhibit | kAttrCopyProtect | kAttrDeleteInhibit);
    EXPECT_EQ(At<int32_t>(b, 489), kNoDate);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(b.data() + 493)), "TEXTttxt");
    EXPECT_EQ(At<uint32_t>(b, 533), 1234u);
    EXPECT_EQ(At<uint32_t>(b, 537), 56u);
    const uint16_t longOff = At<uint16_t>(b, 525);
    const uint16_t shortOff = At<uint16_t>(b, 527);
    ASSERT_NE(longOff, 0);
    ASSERT_NE(shortOff, 0);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(b.data() + 475 + longOff)), "Notes");
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(b.data() + 475 + shortOff)), "NOTES.TXT");
    EXPECT_EQ(b[473], 0);
}

TEST(AFP, ShortFinderCodesArePaddedNotCut)
{
    World w = Load(R"({"workstation": {"network": 1, "node": 3}, "servers": [{"name": "S", "volumes": [{"name": "V",
        "root": {"children": [{"name": "sheet", "type": "XLS", "creator": "XCEL"},
                              {"name": "nocode"}, {"name": "creatoronly", "creator": "ttxt"}]}}]}]})");
    ATKIFSBuffer b;
    ASSERT_EQ(BuildFlDrParams(w, "\\\\S\\V\\sheet", b), 0);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(b.data() + 493)), "XLS XCEL");
    ASSERT_EQ(BuildFlDrParams(w, "\\\\S\\V\\creatoronly", b), 0);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(b.data() + 493)), "    ttxt");
    ASSERT_EQ(BuildFlDrParams(w, "\\\\S\\V\\nocode", b), 0);
    EXPECT_EQ(b[493], 0) << "no Finder codes: an empty string";
}

TEST(AFP, FolderBufferByteByByte)
{
    World w = Load();
    ATKIFSBuffer b;
    ASSERT_EQ(BuildFlDrParams(w, "\\\\Eng Server\\Projects\\Specs", b), 0);
    EXPECT_EQ(At<uint16_t>(b, 475), kAttrSystem | kAttrRenameInhibit);
    EXPECT_EQ(At<int32_t>(b, 485), 946684800);  // 2000-01-01
    EXPECT_EQ(At<uint32_t>(b, 535), 101u);       // owner Anna
    EXPECT_EQ(At<uint32_t>(b, 539), 201u);       // inherited group Engineers
    // Access in buffer order: current user, everyone, group, owner. Anna owns
    // the folder (bit 7) and has the owner's rights.
    EXPECT_EQ(b[543], 0x87);
    EXPECT_EQ(b[544], 0x01);
    EXPECT_EQ(b[545], 0x03);
    EXPECT_EQ(b[546], 0x07);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(b.data() + 475 + At<uint16_t>(b, 525))), "Specs");
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(b.data() + 475 + At<uint16_t>(b, 527))), "SPECS");
    EXPECT_EQ(b[473], 0x80);

    ASSERT_EQ(BuildFlDrParams(w, "\\\\Eng Server\\Projects\\", b), 0);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(b.data() + 475 + At<uint16_t>(b, 525))), "Projects");
    EXPECT_EQ(At<uint16_t>(b, 527), 0);  // no short name
    EXPECT_EQ(b[543], 0x03);  // Anna: not the owner (Bob), in group Engineers
    EXPECT_EQ(BuildFlDrParams(w, "\\\\Eng Server\\Projects\\Nope", b), kAFPObjectNotFound);
}

TEST(AFP, VolumeBufferByteByByte)
{
    World w = Load();
    ATKIFSBuffer b;
    ASSERT_EQ(BuildVolParams(w, "\\\\Eng Server\\Projects", b), 0);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(b.data() + 434)), "Eng Projects");
    EXPECT_EQ(At<uint16_t>(b, 476), 0x2);  // has a password, not read-only
    EXPECT_EQ(At<int32_t>(b, 480), 86400);
    EXPECT_EQ(At<int32_t>(b, 484), kNoDate);
    EXPECT_EQ(At<int32_t>(b, 488), 5);
    EXPECT_EQ(At<uint32_t>(b, 494), 1000u);
    EXPECT_EQ(At<uint32_t>(b, 498), 3000000000u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(b.data() + 474 + At<int16_t>(b, 502))), "Projects");
    EXPECT_EQ(BuildVolParams(w, "\\\\Eng Server\\Other", b), kAFPObjectNotFound);
}

TEST(AFP, MapIdAndPasswords)
{
    World w = Load();
    std::string name;
    EXPECT_EQ(MapId(w, 1, 1, 101, name), 0);
    EXPECT_EQ(name, "Anna");
    EXPECT_EQ(MapId(w, 1, 2, 201, name), 0);
    EXPECT_EQ(name, "Engineers");
    EXPECT_EQ(MapId(w, 1, 1, 17, name), kAFPItemNotFound);
    EXPECT_EQ(MapId(w, 1, 3, 101, name), kAFPParamErr);
    EXPECT_EQ(MapId(w, 9, 1, 101, name), kAFPParamErr);
    EXPECT_EQ(ChangePassword(w, "\\\\Eng Server", "wrong", "new"), kAFPUserNotAuth);
    EXPECT_EQ(ChangePassword(w, "\\\\Eng Server", "apple1", "123456789"), kAFPParamErr);
    EXPECT_EQ(ChangePassword(w, "\\\\Eng Server", "apple1", "pear2"), 0);
    EXPECT_EQ(w.servers[0].users[0].password, "pear2");
}

TEST(State, SurvivesARoundTrip)
{
    World w = Load();
    w.printers[0].name.object = "Renamed LW";
    w.defaultPrinter = EntityName{"Office LW", "LaserWriter", "Marketing"};
    w.workstation.zone = "Marketing";
    w.servers[0].users[0].password = "secret";
    const std::string state = StateText(w);

    World fresh = Load();
    std::string error;
    ASSERT_TRUE(ApplyState(fresh, state, "s.json", error)) << error;
    EXPECT_EQ(fresh.printers[0].name.object, "Renamed LW");
    EXPECT_EQ(fresh.defaultPrinter->object, "Office LW");
    EXPECT_EQ(fresh.workstation.zone, "Marketing");
    EXPECT_EQ(fresh.servers[0].users[0].password, "secret");
    EXPECT_FALSE(ApplyState(fresh, "{\"printers\": 3}", "s.json", error));
    EXPECT_EQ(error, "s.json: printers: expected an object");
}

TEST(State, KeepsWhatAnInterpretingPrinterPersistsByteForByte)
{
    const std::string text = R"({"workstation": {"network": 1, "node": 3}, "printers": [
        {"id": "ps", "name": "A", "interpreter": true}, {"id": "canned", "name": "B"}]})";
    World w = Load(text);
    const std::string binary("/x <00ff> def\r\n\0\xC5\xFF", 19);
    w.printers[0].persistent = {binary, "/y 1 def"};
    w.printers[1].persistent = {"/z 1 def"};  // a printer that does not interpret keeps nothing
    World fresh = Load(text);
    std::string error;
    ASSERT_TRUE(ApplyState(fresh, StateText(w), "s.json", error)) << error;
    EXPECT_EQ(fresh.printers[0].persistent, (std::vector<std::string>{binary, "/y 1 def"}));
    EXPECT_TRUE(fresh.printers[1].persistent.empty());
    // More than a printer may keep: the first changes that fit.
    w.printers[0].persistent = {std::string(kMaxPersistentBytes - 10, 'a'), std::string(20, 'b')};
    ASSERT_TRUE(ApplyState(fresh, StateText(w), "s.json", error)) << error;
    EXPECT_EQ(fresh.printers[0].persistent.size(), 1u);
}

TEST(PapTypes, LinesReadAsTheTableEditorsReadThem)
{
    const auto types = ParsePapTypes("\"LaserWriter\" Y ;office\r\n"
                                     "junk before \"  Color Laser  \" - y ;the flag is the first of YNyn\n"
                                     "\"ImageWriter\"N\n"
                                     "no quotes at all Y\n"
                                     "\"No Flag\" ;remark\n"
                                     "\"123456789012345678901234567890123456\" Y\n");
    ASSERT_EQ(types.size(), 4u);
    EXPECT_EQ(types[0].type, "LaserWriter");
    EXPECT_TRUE(types[0].postScript);
    EXPECT_EQ(types[1].type, "Color Laser");
    EXPECT_TRUE(types[1].postScript);
    EXPECT_EQ(types[2].type, "ImageWriter");
    EXPECT_FALSE(types[2].postScript);
    EXPECT_EQ(types[3].type, "12345678901234567890123456789012") << "cut to 32 characters";

    EXPECT_TRUE(IsPostScriptType(types, "color laser"));
    EXPECT_FALSE(IsPostScriptType(types, "ImageWriter"));
    EXPECT_FALSE(IsPostScriptType(types, "Unknown"));
    EXPECT_TRUE(IsPostScriptType(std::nullopt, "laserwriter")) << "known without a table";
    EXPECT_FALSE(IsPostScriptType(std::nullopt, "ImageWriter"));
    EXPECT_FALSE(IsPostScriptType(std::vector<PapTypeEntry>{}, "LaserWriter")) << "a table decides alone";
}

TEST(Latin1, BytesSurviveJsonText)
{
    const std::string bytes = "Office\xC5LW\xE9";
    EXPECT_EQ(TextToBytes(BytesToText(bytes)), bytes);
    EXPECT_FALSE(TextToBytes("\xE2\x89\x88"));  // U+2248 is no byte
}

}  // namespace
