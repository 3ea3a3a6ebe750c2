#include "archive/AlbumSetupInfo.h"

#include "archive/LittleEndian.h"

namespace pagora {
namespace {

constexpr int kTextCapacity = 64;

}  // namespace

bool TAlbumSetupInfo::ReadInt(int32_t& value) {
    uint8_t bytes[4];
    if (stream_->Read(bytes, sizeof bytes) != sizeof bytes)
        return false;
    value = LoadI32(bytes);
    return true;
}

bool TAlbumSetupInfo::ReadString(std::string& value) {
    uint8_t bytes[kTextCapacity + 1];
    if (stream_->Read(bytes, sizeof bytes) != sizeof bytes)
        return false;
    value = LoadShortString(bytes, kTextCapacity);
    return true;
}

void TAlbumSetupInfo::WriteInt(int32_t value) {
    uint8_t bytes[4];
    StoreI32(bytes, value);
    stream_->Write(bytes, sizeof bytes);
}

void TAlbumSetupInfo::WriteString(const std::string& value) {
    uint8_t bytes[kTextCapacity + 1];
    StoreShortString(bytes, kTextCapacity, value);
    stream_->Write(bytes, sizeof bytes);
}

void TAlbumSetupInfo::ReadFields() {
    if (storedVersion_ == 0)
        return;
    if (!ReadInt(TurnTime) || !ReadInt(StayTime))
        return;
    uint8_t show;
    if (stream_->Read(&show, 1) == 1)
        ShowInfo = show == 1;
}

void TAlbumSetupInfo::WriteFields() {
    WriteInt(TurnTime);
    WriteInt(StayTime);
    uint8_t show = ShowInfo ? 1 : 0;
    stream_->Write(&show, 1);
}

void TAlbumSetupInfo::Assign(const TAlbumSetupInfo& other) {
    TurnTime = other.TurnTime;
    StayTime = other.StayTime;
    ShowInfo = other.ShowInfo;
    Save();
}

void TAlbumSetupInfo::Load() {
    stream_->Seek(0);
    uint8_t version = 0;
    storedVersion_ = stream_->Read(&version, 1) == 1 ? version : 0;
    ReadFields();
}

void TAlbumSetupInfo::Save() {
    stream_->Seek(0);
    stream_->Write(&classVersion_, 1);
    WriteFields();
}

void TAlbumSetupInfo1_1::ReadFields() {
    TAlbumSetupInfo::ReadFields();
    if (storedVersion_ < classVersion_)
        return;
    if (ReadInt(Value1) && ReadInt(Value2) && ReadString(Text1) && ReadString(Text2))
        ReadInt(BackColor);
}

void TAlbumSetupInfo1_1::WriteFields() {
    TAlbumSetupInfo::WriteFields();
    WriteInt(Value1);
    WriteInt(Value2);
    WriteString(Text1);
    WriteString(Text2);
    WriteInt(BackColor);
}

void TAlbumSetupInfo1_1::Assign(const TAlbumSetupInfo& other) {
    if (auto* newer = dynamic_cast<const TAlbumSetupInfo1_1*>(&other)) {
        Value1 = newer->Value1;
        Value2 = newer->Value2;
        Text1 = newer->Text1;
        Text2 = newer->Text2;
        BackColor = newer->BackColor;
    }
    TAlbumSetupInfo::Assign(other);
}

}  // namespace pagora
