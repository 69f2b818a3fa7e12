#include "common/core/comp_data_record.h"

#include <type_traits>

#include "common/core/le_bytes.h"

namespace {

// The record's fields in file order.
template <typename Record, typename Visit>
void EachField(Record& r, Visit visit)
{
    visit(r.cbSize);
    visit(r.dwFlags);
    visit(r.hic);
    visit(r.fccType);
    visit(r.fccHandler);
    visit(r.lpbiIn);
    visit(r.lpbiOut);
    visit(r.lpBitsOut);
    visit(r.lpBitsPrev);
    visit(r.lFrame);
    visit(r.lKey);
    visit(r.lDataRate);
    visit(r.lQ);
    visit(r.lKeyCount);
    visit(r.lpState);
    visit(r.cbState);
}

}  // namespace

bool CompDataFromBytes(const uint8_t* data, std::size_t size, CompDataRecord* out)
{
    if (size < kCompDataBytes) {
        return false;
    }
    CompDataRecord r;
    const uint8_t* p = data;
    EachField(r, [&p](auto& field) {
        field = static_cast<std::remove_reference_t<decltype(field)>>(GetLe32(p));
        p += 4;
    });
    *out = r;
    return true;
}

void CompDataToBytes(const CompDataRecord& record, uint8_t out[kCompDataBytes])
{
    uint8_t* p = out;
    EachField(record, [&p](const auto& field) {
        PutLe32(p, static_cast<uint32_t>(field));
        p += 4;
    });
}

std::string CompDataCodeText(const CompDataRecord& record)
{
    std::string text;
    for (int i = 0; i < 4; ++i) {
        const char c = static_cast<char>(record.fccHandler >> (8 * i));
        if (c == '\0') {
            break;
        }
        text += c;
    }
    return text;
}
