#include <string>

#include "platform/platform.h"
#include "settings/profile_fields.h"
#include "settings/settings_store.h"
#include "tests/unit/twain/source_fixture.h"

namespace {

constexpr const char* kSection = "A3 SCANNER";

class SettingsTest : public SourceTest {
protected:
    SettingsRecords Load(const char* section = kSection, SettingsLoadContext context = {true}) {
        SettingsRecords records;
        LoadScanSettings(section, context, records);
        return records;
    }
    std::string Profile(const char* section, const char* key) {
        char buf[256];
        plat::GetProfileString(section, key, "<none>", buf, sizeof buf);
        return buf;
    }
};

TEST_F(SettingsTest, ResetGivesTheDefaults) {
    SetProfile(kSection, "ScanMode", "1011");  // ignored: the reset reads no section
    SettingsRecords r;
    ResetScanSettings({}, r);
    const ScanSettings& s = r.settings;
    EXPECT_EQ(s.ScanMode, kModeColor);
    EXPECT_EQ(s.ScanSubMode, 0);
    EXPECT_EQ(s.ScanRes, 300);
    EXPECT_EQ(s.Scaling, 100);
    EXPECT_EQ(s.Destination, 1021);
    EXPECT_EQ(s.QualityFactor, 10);
    EXPECT_EQ(s.DeScreen, 1017);
    EXPECT_EQ(s.Velocity, 1);
    EXPECT_EQ(s.Frame[0], 78);
    EXPECT_EQ(s.Frame[1], 81);
    EXPECT_EQ(s.Frame[2], 150);
    EXPECT_EQ(s.Frame[3], 145);
    const EnhancementRecord& e = s.Enhancement;
    for (int c = 0; c < 4; ++c) {
        EXPECT_EQ(e.channel[c].highlight, 255);
        EXPECT_EQ(e.channel[c].shadow, 0);
    }
    EXPECT_EQ(e.channel[kMaster].gamma, 10);
    EXPECT_EQ(e.channel[kRed].gamma, 18);
    EXPECT_EQ(e.channel[kBlue].gamma, 18);
    EXPECT_EQ(e.CirclePos[0], 44);
    EXPECT_EQ(e.CirclePos[1], 115);
    EXPECT_EQ(e.PixelRGB[2], 255);
}

TEST_F(SettingsTest, ScanModeAndSubMode) {
    SetProfile(kSection, "ScanMode", "1016");
    SettingsRecords r = Load();
    EXPECT_EQ(r.settings.ScanMode, kModeColor);
    EXPECT_EQ(r.settings.ScanSubMode, kSubMode36Bit);
    SetProfile(kSection, "ScanMode", "1012");
    LoadScanSettings(kSection, {true}, r);
    EXPECT_EQ(r.settings.ScanMode, kModeFastGray);
    EXPECT_EQ(r.settings.ScanSubMode, 0);
    SetProfile(kSection, "ScanMode", "999");  // unknown: the mode stays as it was
    LoadScanSettings(kSection, {true}, r);
    EXPECT_EQ(r.settings.ScanMode, kModeFastGray);
}

TEST_F(SettingsTest, ToneFieldsFollowTheirRules) {
    SetProfile(kSection, "Highlight", "0    200  ");
    SetProfile(kSection, "Shadow", "10   200  300  ");
    SettingsRecords r = Load();
    const EnhancementRecord& e = r.settings.Enhancement;
    EXPECT_EQ(e.channel[kRed].highlight, 255);    // 0 is replaced
    EXPECT_EQ(e.channel[kGreen].highlight, 200);
    EXPECT_EQ(e.channel[kBlue].highlight, 255);   // missing field reads 0, then 255
    EXPECT_EQ(e.channel[kRed].shadow, 10);
    EXPECT_EQ(e.channel[kGreen].shadow, 0);       // not below its highlight
    EXPECT_EQ(e.channel[kBlue].shadow, 0);
}

TEST_F(SettingsTest, NeutralGammaApplicationGetsGammaTen) {
    SetProfile(kSection, "Gamma", "22   22   22   22   ");
    SettingsRecords r = Load(kSection, {true, true});
    for (int c = 0; c < 4; ++c) EXPECT_EQ(r.settings.Enhancement.channel[c].gamma, 10);
    r = Load(kSection, {true, false});
    EXPECT_EQ(r.settings.Enhancement.channel[kGreen].gamma, 22);
}

TEST_F(SettingsTest, OutputModeDecidesOutputMatching) {
    SetProfile(kSection, "OutputMatch", "1");
    EXPECT_EQ(Load().settings.OutputMatch, 0);
    SetProfile(kSection, "OutputMode", "1");
    EXPECT_EQ(Load().settings.OutputMatch, 1);
}

TEST_F(SettingsTest, ScanSourceNeedsTheOptionAndNeverStartsOnTheFeeder) {
    SetProfile(kSection, "ScanSource", "2");
    EXPECT_EQ(Load(kSection, {true}).settings.ScanSource, 2);
    EXPECT_EQ(Load(kSection, {false}).settings.ScanSource, 0);
    SetProfile(kSection, "ScanSource", "3");
    EXPECT_EQ(Load(kSection, {true}).settings.ScanSource, 0);
}

TEST_F(SettingsTest, OutOfRangeValuesTakeTheirDefaults) {
    SetProfile(kSection, "ScanRes", "0");
    SetProfile(kSection, "Scaling", "-5");
    SetProfile(kSection, "Channel", "7");
    SetProfile(kSection, "DpiScale", "9");
    SetProfile(kSection, "DeScreen", "2000");
    SetProfile(kSection, "UnitFlag", "8");
    SetProfile(kSection, "Destination", "5");
    SetProfile(kSection, "Quality Factor", "99");
    SetProfile(kSection, "ColorBalance", "-101 100  5000 ");
    SetProfile(kSection, "FilterMode", "9");
    SettingsRecords r = Load();
    const ScanSettings& s = r.settings;
    EXPECT_EQ(s.ScanRes, 300);
    EXPECT_EQ(s.Scaling, 100);
    EXPECT_EQ(s.Enhancement.Channel, 0);
    EXPECT_EQ(s.DpiScale, 0);
    EXPECT_EQ(s.DeScreen, 1017);
    EXPECT_EQ(s.UnitFlag, 0);
    EXPECT_EQ(s.Destination, 1021);
    EXPECT_EQ(s.QualityFactor, 10);
    EXPECT_EQ(s.Enhancement.ColorBalance[0], 0);
    EXPECT_EQ(s.Enhancement.ColorBalance[1], 100);
    EXPECT_EQ(s.Enhancement.ColorBalance[2], 0);
    EXPECT_EQ(s.FilterMode, 0);
}

TEST_F(SettingsTest, ThirtySixBitKeepsTheLoadedColourForCmyk) {
    SetProfile(kSection, "ScanMode", "1016");
    SetProfile(kSection, "Gamma", "20   21   22   15   ");
    SetProfile(kSection, "Saturation", "30");
    SettingsRecords r = Load();
    EXPECT_EQ(r.CmykEnhancement.channel[kRed].gamma, 20);
    EXPECT_EQ(r.CmykEnhancement.Saturation, 30);
    const EnhancementRecord& e = r.settings.Enhancement;
    EXPECT_EQ(e.channel[kRed].gamma, 10);
    EXPECT_EQ(e.channel[kBlue].gamma, 10);
    EXPECT_EQ(e.channel[kMaster].gamma, 15);  // the master entry is kept
    EXPECT_EQ(e.Saturation, 0);
    EXPECT_EQ(r.WorkingEnhancement.channel[kGreen].gamma, 10);
}

TEST_F(SettingsTest, SaveWritesFixedWidthFieldsAndLoadsBackEveryKey) {
    ScanSettings s;
    s.ScanMode = kModeColor;
    s.ScanSubMode = kSubModeCmyk;
    s.ScanSource = 1;
    s.ScanRes = 1200;
    const uint16_t custom[5] = {12000, 75, 0, 150, 9999};
    std::copy(custom, custom + 5, s.CustomRes);
    s.Destination = 1022;
    s.QualityFactor = 25;
    s.DeScreen = 1019;
    s.Scaling = 250;
    s.FilterMode = 7;
    EnhancementRecord& e = s.Enhancement;
    e.channel[kRed] = {240, 12, 18, 0};
    e.channel[kGreen] = {230, 13, 19, 0};
    e.channel[kBlue] = {220, 14, 20, 0};
    e.channel[kMaster] = {210, 15, 9, 0};
    e.Hue = -45;
    e.CirclePos[0] = 50;
    e.CirclePos[1] = 120;
    e.PixelRGB[0] = 1; e.PixelRGB[1] = 2; e.PixelRGB[2] = 3;
    e.Saturation = -20;
    e.ColorBalance[0] = -7; e.ColorBalance[1] = 100; e.ColorBalance[2] = -100;
    e.Channel = 2;
    s.UnitFlag = 3;
    s.DpiScale = 4;
    s.Velocity = 17;
    const uint16_t frame[4] = {1, 22, 333, 4444};
    SaveScanSettings(s, {kSection, frame, 1, false});

    EXPECT_EQ(Profile(kSection, "ScanMode"), "1015");
    EXPECT_EQ(Profile(kSection, "CustomRes"), "1200075   0    150  9999");  // trailing blanks go
    EXPECT_EQ(Profile(kSection, "Frame"), "1   22  333 4444");
    EXPECT_EQ(Profile(kSection, "Gamma"), "18   19   20   9");
    EXPECT_EQ(Profile(kSection, "Hue"), "-45");
    EXPECT_EQ(Profile("KVTINFO_A3", "LANGUAGE"), "Deutsch");
    EXPECT_EQ(Profile("KVTINFO_SP", "LANGUAGE"), "<none>");
    EXPECT_EQ(Profile(kSection, "OutputMode"), "<none>");

    SettingsRecords r = Load();
    const ScanSettings& l = r.settings;
    EXPECT_EQ(l.ScanMode, kModeColor);
    EXPECT_EQ(l.ScanSubMode, kSubModeCmyk);
    EXPECT_EQ(l.ScanSource, 1);
    EXPECT_EQ(l.ScanRes, 1200);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(l.CustomRes[i], custom[i]) << i;
    EXPECT_EQ(l.Destination, 1022);
    EXPECT_EQ(l.QualityFactor, 25);
    EXPECT_EQ(l.DeScreen, 1019);
    EXPECT_EQ(l.Scaling, 250);
    EXPECT_EQ(l.FilterMode, 7);
    for (int c = 0; c < 4; ++c) {
        EXPECT_EQ(l.Enhancement.channel[c].highlight, e.channel[c].highlight) << c;
        EXPECT_EQ(l.Enhancement.channel[c].shadow, e.channel[c].shadow) << c;
        EXPECT_EQ(l.Enhancement.channel[c].gamma, e.channel[c].gamma) << c;
    }
    EXPECT_EQ(l.Enhancement.Hue, -45);
    EXPECT_EQ(l.Enhancement.CirclePos[1], 120);
    EXPECT_EQ(l.Enhancement.PixelRGB[2], 3);
    EXPECT_EQ(l.Enhancement.Saturation, -20);
    EXPECT_EQ(l.Enhancement.ColorBalance[0], -7);
    EXPECT_EQ(l.Enhancement.ColorBalance[2], -100);
    EXPECT_EQ(l.Enhancement.Channel, 2);
    EXPECT_EQ(l.UnitFlag, 3);
    EXPECT_EQ(l.DpiScale, 4);
    EXPECT_EQ(l.Velocity, 17);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(l.Frame[i], frame[i]) << i;
}

TEST_F(SettingsTest, NarrowBedStoresTheLanguageInItsOwnSection) {
    ScanSettings s;
    const uint16_t frame[4] = {0, 0, 10, 10};
    SaveScanSettings(s, {kSection, frame, 5, true});
    EXPECT_EQ(Profile("KVTINFO_SP", "LANGUAGE"), "Dutch");
    SaveScanSettings(s, {kSection, frame, 42, false});
    EXPECT_EQ(Profile("KVTINFO_A3", "LANGUAGE"), "English");
}

TEST(ProfileFields, DecimalFieldsStayInsideTheirWidth) {
    EXPECT_EQ(DecimalField("  255  200", 0, 5), 255);
    EXPECT_EQ(DecimalField("  255  200", 5, 5), 200);
    EXPECT_EQ(DecimalField("1200075", 0, 5), 12000);
    EXPECT_EQ(DecimalField("1200075", 5, 5), 75);
    EXPECT_EQ(DecimalField("abc", 0, 5), 0);
    EXPECT_EQ(DecimalField("-12x", 0, 5), -12);
    EXPECT_EQ(DecimalField("12", 10, 5), 0);
    EXPECT_EQ(DecimalValue("99999999999"), INT32_MAX);
}

TEST(ModelSection, FollowsTheOpticalResolution) {
    EXPECT_STREQ(ModelSectionName(600), "KVT-4100PRO");
    EXPECT_STREQ(ModelSectionName(606), "KVT-4160S");
    EXPECT_STREQ(ModelSectionName(800), "KVT-4300PRO");
    EXPECT_STREQ(ModelSectionName(1200), "A3 SCANNER");
    EXPECT_EQ(ModelSectionName(300), nullptr);
}

}  // namespace
