#pragma once

#include <cstdint>
#include <string>

#include "archive/Stream.h"

namespace pagora {

// The album's setup values ("AlbumProInfo.dat"): a version byte, then the
// fields of every layout up to that version. The stream is not owned.
class TAlbumSetupInfo {
  public:
    explicit TAlbumSetupInfo(Stream* stream) : stream_(stream) {}
    virtual ~TAlbumSetupInfo() = default;

    // Reads the fields the stored version holds. A field cut short by the end
    // of the stream keeps its present value.
    virtual void ReadFields();
    virtual void WriteFields();
    // Takes over the values of another record, then saves.
    virtual void Assign(const TAlbumSetupInfo& other);

    void Load();
    void Save();

    int32_t TurnTime = 3;  // milliseconds
    int32_t StayTime = 3;  // milliseconds
    bool ShowInfo = false;

    uint8_t ClassVersion() const { return classVersion_; }
    uint8_t StoredVersion() const { return storedVersion_; }

  protected:
    TAlbumSetupInfo(Stream* stream, uint8_t classVersion)
        : stream_(stream), classVersion_(classVersion) {}

    bool ReadInt(int32_t& value);
    bool ReadString(std::string& value);
    void WriteInt(int32_t value);
    void WriteString(const std::string& value);

    Stream* stream_;
    uint8_t classVersion_ = 1;
    uint8_t storedVersion_ = 0;
};

// Layout version 2 adds two numbers, two texts and the background colour.
class TAlbumSetupInfo1_1 : public TAlbumSetupInfo {
  public:
    explicit TAlbumSetupInfo1_1(Stream* stream) : TAlbumSetupInfo(stream, 2) {}

    void ReadFields() override;
    void WriteFields() override;
    void Assign(const TAlbumSetupInfo& other) override;

    int32_t Value1 = 0;
    int32_t Value2 = 0;
    std::string Text1;      // string[64]
    std::string Text2;      // string[64]
    int32_t BackColor = 0;  // 0x00BBGGRR
};

}  // namespace pagora
