#include <algorithm>
#include <iterator>

#include "operations.h"

namespace atsvc {

namespace {

// Every operation of the wire protocol (docs/stack.md lists their fields).
constexpr Operation kOperations[] = {
    {"hello", ops::Hello, 0},
    {"ping", ops::Ping, kUntraced},
    {"enum.end", ops::EndEnum, 0},
    {"mpp.alloc", ops::Note, 0},
    {"mpp.free", ops::Note, 0},
    {"note", ops::Note, 0},
    {"tarpin.notify", ops::TarpinNotify, 0},
    {"paptypes.generation", ops::PapTypesGeneration, 0},

    {"at.netinfo", ops::NetInfo, 0},
    {"at.setzone", ops::SetZone, 0},
    {"zip.zones", ops::Zones, kWaits},
    {"zip.myzone", ops::MyZone, 0},
    {"nbp.lookup", ops::Lookup, kWaits},
    {"pap.default.get", ops::GetDefaultPrinter, 0},
    {"pap.default.set", ops::SetDefaultPrinter, 0},

    {"pap.open", ops::PapOpen, kWaits},
    {"pap.status", ops::PapStatus, kWaits},
    {"pap.write", ops::PapWrite, kWaits},
    {"pap.read", ops::PapRead, kWaits},
    {"pap.close", ops::PapClose, 0},
    {"pap.cancel", ops::PapCancel, 0},

    {"afp.bitmap", ops::NameBitmap, kWaits},
    {"afp.parse", ops::ParseName, kWaits},
    {"afp.mapid", ops::MapId, kWaits},
    {"afp.chpass", ops::ChangePassword, kWaits},
    {"afp.fldr", ops::FileDirParams, kWaits},
    {"afp.vol", ops::VolumeParams, kWaits},
    {"afp.server", ops::ServerInfo, kWaits},
};

}  // namespace

const Operation* FindOperation(std::string_view name)
{
    auto it = std::find_if(std::begin(kOperations), std::end(kOperations),
                           [&](const Operation& o) { return name == o.name; });
    return it == std::end(kOperations) ? nullptr : &*it;
}

}  // namespace atsvc
