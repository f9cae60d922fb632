#include "component/win32/ComPersistence.h"

#include <oleauto.h>

#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <utility>

#include "panel/PanelControls.h"

namespace arn::win32 {

namespace {

constexpr char RecordMagic[4] = {'A', 'R', 'N', 'P'};
constexpr uint16_t RecordVersion = 1;
// The body of version 1: the extent's width and height.
constexpr uint16_t BodySize = 8;
constexpr size_t HeaderSize = sizeof(RecordMagic) + 2 * sizeof(uint16_t);

// HIMETRIC (0.01 mm) of a length in twips (1/1440 inch), rounded.
LONG HimetricOfTwips(int32_t twips) {
    return static_cast<LONG>((static_cast<int64_t>(twips) * 2540 + 720) / 1440);
}

// Reads exactly size bytes; STG_E_READFAULT when the stream ends first.
HRESULT ReadExactly(IStream* stream, void* into, ULONG size) {
    ULONG read = 0;
    const HRESULT hr = stream->Read(into, size, &read);
    if (FAILED(hr)) {
        return hr;
    }
    return read == size ? S_OK : STG_E_READFAULT;
}

HRESULT WriteAll(IStream* stream, const void* from, ULONG size) {
    ULONG written = 0;
    const HRESULT hr = stream->Write(from, size, &written);
    return FAILED(hr) ? hr : (written == size ? S_OK : STG_E_WRITEFAULT);
}

// One property of the bag as a number; S_FALSE leaves value alone when the bag lacks it.
HRESULT ReadLong(IPropertyBag* bag, IErrorLog* log, const wchar_t* name, LONG& value) {
    VARIANT read;
    VariantInit(&read);
    read.vt = VT_I4;
    if (FAILED(bag->Read(name, &read, log))) {
        return S_FALSE;
    }
    const HRESULT hr = VariantChangeType(&read, &read, 0, VT_I4);
    if (SUCCEEDED(hr)) {
        value = read.lVal;
    }
    VariantClear(&read);
    return SUCCEEDED(hr) ? S_OK : E_INVALIDARG;
}

HRESULT WriteLong(IPropertyBag* bag, const wchar_t* name, LONG value) {
    VARIANT written;
    VariantInit(&written);
    written.vt = VT_I4;
    written.lVal = value;
    return bag->Write(name, &written);
}

}  // namespace

ComPersistence::ComPersistence(IUnknown* outer, const CLSID& classId, SIZEL& extent)
    : ComOuterUnknown(outer), m_classId(classId), m_extent(extent) {}

SIZEL ComPersistence::DesignExtent() {
    return {HimetricOfTwips(PanelControls::DesignWidth),
            HimetricOfTwips(PanelControls::DesignHeight)};
}

HRESULT ComPersistence::GetClassID(CLSID* pClassID) {
    if (pClassID == nullptr) {
        return E_POINTER;
    }
    *pClassID = m_classId;
    return S_OK;
}

HRESULT ComPersistence::InitNew() {
    m_extent = DesignExtent();
    return S_OK;
}

HRESULT ComPersistence::IsDirty() {
    return S_FALSE;
}

HRESULT ComPersistence::Load(LPSTREAM pStm) {
    if (pStm == nullptr) {
        return E_POINTER;
    }
    unsigned char header[HeaderSize] = {};
    HRESULT hr = ReadExactly(pStm, header, sizeof(header));
    if (FAILED(hr)) {
        return hr;
    }
    uint16_t version = 0;
    uint16_t size = 0;
    std::memcpy(&version, header + sizeof(RecordMagic), sizeof(version));
    std::memcpy(&size, header + sizeof(RecordMagic) + sizeof(version), sizeof(size));
    if (std::memcmp(header, RecordMagic, sizeof(RecordMagic)) != 0 || version < RecordVersion ||
        size < BodySize) {
        return STG_E_INVALIDHEADER;
    }
    int32_t body[2] = {};
    hr = ReadExactly(pStm, body, BodySize);
    if (FAILED(hr)) {
        return hr;
    }
    if (body[0] <= 0 || body[1] <= 0) {
        return STG_E_INVALIDHEADER;
    }
    if (size > BodySize) {
        LARGE_INTEGER rest{};
        rest.QuadPart = size - BodySize;
        hr = pStm->Seek(rest, STREAM_SEEK_CUR, nullptr);
        if (FAILED(hr)) {
            return hr;
        }
    }
    m_extent = {body[0], body[1]};
    return S_OK;
}

HRESULT ComPersistence::Save(LPSTREAM pStm, BOOL) {
    if (pStm == nullptr) {
        return E_POINTER;
    }
    unsigned char record[HeaderSize + BodySize] = {};
    const int32_t body[2] = {m_extent.cx, m_extent.cy};
    std::memcpy(record, RecordMagic, sizeof(RecordMagic));
    std::memcpy(record + sizeof(RecordMagic), &RecordVersion, sizeof(RecordVersion));
    std::memcpy(record + sizeof(RecordMagic) + sizeof(RecordVersion), &BodySize, sizeof(BodySize));
    std::memcpy(record + HeaderSize, body, BodySize);
    return WriteAll(pStm, record, sizeof(record));
}

HRESULT ComPersistence::GetSizeMax(ULARGE_INTEGER* pCbSize) {
    if (pCbSize == nullptr) {
        return E_POINTER;
    }
    pCbSize->QuadPart = HeaderSize + BodySize;
    return S_OK;
}

HRESULT ComPersistence::Load(IPropertyBag* pPropBag, IErrorLog* pErrorLog) {
    if (pPropBag == nullptr) {
        return E_POINTER;
    }
    SIZEL extent = m_extent;
    for (const auto& [name, value] :
         {std::pair<const wchar_t*, LONG*>{L"_ExtentX", &extent.cx}, {L"_ExtentY", &extent.cy}}) {
        if (FAILED(ReadLong(pPropBag, pErrorLog, name, *value))) {
            return E_INVALIDARG;
        }
    }
    if (extent.cx <= 0 || extent.cy <= 0) {
        return E_INVALIDARG;
    }
    m_extent = extent;
    return S_OK;
}

HRESULT ComPersistence::Save(IPropertyBag* pPropBag, BOOL, BOOL) {
    if (pPropBag == nullptr) {
        return E_POINTER;
    }
    HRESULT hr = WriteLong(pPropBag, L"_Version", RecordVersion);
    if (SUCCEEDED(hr)) {
        hr = WriteLong(pPropBag, L"_ExtentX", m_extent.cx);
    }
    if (SUCCEEDED(hr)) {
        hr = WriteLong(pPropBag, L"_ExtentY", m_extent.cy);
    }
    return hr;
}

}  // namespace arn::win32
