// What the shell hands a property-sheet extension, built by hand: a data
// object offering blocks of global memory under clipboard formats.
#pragma once

#include <windows.h>
#include <objidl.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "selection_builders.h"

namespace shelltest {

using blocks::Bytes;
using blocks::DropList;
using blocks::NetItem;
using blocks::NetResourceBlock;

// COM interfaces have no virtual destructors; the object ends by Release.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
// A data object with fixed blocks per clipboard format. Every GetData hands
// out a fresh copy the caller releases.
class DataObject : public IDataObject {
public:
    DataObject() = default;
    virtual ~DataObject() = default;

    void Offer(UINT format, Bytes block) { blocks_[static_cast<CLIPFORMAT>(format)] = std::move(block); }
    int GetDataCalls() const { return getDataCalls_; }
    LONG References() const { return refs_; }

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override
    {
        if (iid == IID_IUnknown || iid == IID_IDataObject) {
            *out = static_cast<IDataObject*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }
    STDMETHODIMP_(ULONG) Release() override
    {
        const LONG n = InterlockedDecrement(&refs_);
        if (n == 0)
            delete this;
        return static_cast<ULONG>(n);
    }

    STDMETHODIMP GetData(FORMATETC* format, STGMEDIUM* medium) override
    {
        ++getDataCalls_;
        auto it = blocks_.find(format->cfFormat);
        if (it == blocks_.end() || !(format->tymed & TYMED_HGLOBAL))
            return DV_E_FORMATETC;
        HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, it->second.size());
        std::memcpy(GlobalLock(memory), it->second.data(), it->second.size());
        GlobalUnlock(memory);
        medium->tymed = TYMED_HGLOBAL;
        medium->hGlobal = memory;
        medium->pUnkForRelease = nullptr;
        return S_OK;
    }
    STDMETHODIMP GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    STDMETHODIMP QueryGetData(FORMATETC* format) override
    {
        return blocks_.count(format->cfFormat) ? S_OK : DV_E_FORMATETC;
    }
    STDMETHODIMP GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override
    {
        out->ptd = nullptr;
        return E_NOTIMPL;
    }
    STDMETHODIMP SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
    STDMETHODIMP DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override { return OLE_E_ADVISENOTSUPPORTED; }
    STDMETHODIMP DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    STDMETHODIMP EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

private:
    LONG refs_ = 1;
    int getDataCalls_ = 0;
    std::map<CLIPFORMAT, Bytes> blocks_;
};
#pragma GCC diagnostic pop

// The data object of a drop list (CF_HDROP).
inline DataObject* DroppedFiles(const std::vector<std::string>& names, bool wide = false)
{
    auto* data = new DataObject;
    data->Offer(CF_HDROP, DropList(names, wide));
    return data;
}

inline DataObject* NetResources(const std::vector<NetItem>& items)
{
    auto* data = new DataObject;
    data->Offer(RegisterClipboardFormatA("Net Resource"), NetResourceBlock(items));
    return data;
}

inline DataObject* PrinterSelection(const std::string& friendlyName)
{
    auto* data = new DataObject;
    data->Offer(RegisterClipboardFormatA("PrinterFriendlyName"), DropList({friendlyName}, false));
    return data;
}

}  // namespace shelltest
