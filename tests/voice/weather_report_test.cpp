#include "voice/weather_report.h"

#include <gtest/gtest.h>

#include <string>

namespace vantrel {
namespace {

// Radio phraseology applied to an expected text, so expectations can be written as the
// decoder composes them.
std::string Radio(std::string s) {
    std::string out;
    for (char c : s)
        out += c == '3' ? std::string(" tree ") : std::string(1, c);
    s.swap(out);
    out.clear();
    for (char c : s)
        out += c == '9' ? std::string(" niner ") : std::string(1, c);
    return out;
}

// Blanks written as "·" in expectations keep double blanks visible.
std::string Dots(std::string s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s.compare(i, 2, "\xC2\xB7") == 0) {
            out += ' ';
            ++i;
        } else {
            out += s[i];
        }
    }
    return out;
}

const std::string kHeader = "2026/12/08 15:50 EGLL 081550Z ";
const std::string kLine = "EGLL London Heathrow";

std::string Decode(const std::string& groups) {
    const auto s = DecodeWeatherReport(kHeader + groups, kLine);
    return s ? *s : std::string("<not spoken>");
}

// The sentence holds the phrase, written with "·" for blanks, after radio phraseology.
void ExpectPhrase(const std::string& groups, const std::string& dottedPhrase) {
    const std::string phrase = Radio(Dots(dottedPhrase));
    const std::string sentence = Decode(groups);
    EXPECT_NE(sentence.find(phrase), std::string::npos)
        << "groups: " << groups << "\nwanted: [" << phrase << "]\nsentence: [" << sentence << "]";
}

TEST(WeatherReportValidity, TwentyNinthCharacterMustBeZ) {
    EXPECT_TRUE(IsValidReport(ReportFromReply("2026/12/08 15:50\nEGLL 081550Z 24015KT")));
    EXPECT_FALSE(IsValidReport(ReportFromReply("2026/12/08 15:50\r\nEGLL 081550Z 24015KT")));
    EXPECT_FALSE(IsValidReport("2026/12/08 15:50 EGLL 081550"));
    EXPECT_FALSE(IsValidReport(""));
    EXPECT_EQ(ReportFromReply("a\nb\n"), "a b ");
}

TEST(WeatherReportValidity, CrLfReplyIsNotSpoken) {
    EXPECT_FALSE(SentenceFromReply("2026/12/08 15:50\r\nEGLL 081550Z 24015KT 9999 12/09 Q1013\r\n", kLine));
    EXPECT_TRUE(SentenceFromReply("2026/12/08 15:50\nEGLL 081550Z 24015KT 9999 12/09 Q1013\n", kLine));
}

TEST(WeatherReportOpening, NameAndObservationTime) {
    const std::string s = Decode("24015KT 9999 12/09 Q1012");
    EXPECT_EQ(
        s.rfind("this is london heathrow airport information ,,time of met report 1 5 5 0 zulu,,  wind", 0),
        0u)
        << s;
    EXPECT_NE(s.find(" london heathrow airport information , out,, "), std::string::npos);
    const auto padded = DecodeWeatherReport(kHeader + "24015KT", "KJFK \t JOHN F KENNEDY  \r");
    ASSERT_TRUE(padded);
    EXPECT_EQ(padded->rfind("this is john f kennedy airport information", 0), 0u);
    const auto empty = DecodeWeatherReport(kHeader + "24015KT", "");
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty->rfind("this is  airport information", 0), 0u);
}

TEST(WeatherReportOpening, ThreesAndNinesEverywhere) {
    const auto s =
        DecodeWeatherReport("2026/12/08 13:39 EGLL 081339Z 24015KT 9999 FEW010 12/09 Q1013", "EGLL");
    ASSERT_TRUE(s);
    EXPECT_NE(s->find("time of met report 1  tree   tree   niner  zulu"), std::string::npos) << *s;
    EXPECT_NE(s->find("Q N H, 1, 0, 1,  tree , hecto pascal,"), std::string::npos) << *s;
    EXPECT_EQ(s->find('3'), std::string::npos);
    EXPECT_EQ(s->find('9'), std::string::npos);
}

TEST(WeatherReportKind, AutoAndCorrected) {
    ExpectPhrase("AUTO 24015KT", "zulu,,··automatic·observation,·wind·2·4·0");
    ExpectPhrase("COR 24015KT", "zulu,,··corrected·observation,·wind");
}

TEST(WeatherReportKind, ShortWindGroupIsNotSpoken) {
    EXPECT_FALSE(DecodeWeatherReport(kHeader + "2401KT 9999", kLine));
    EXPECT_FALSE(DecodeWeatherReport(kHeader + "AUTO 2401K 9999", kLine));
    EXPECT_FALSE(DecodeWeatherReport(kHeader, kLine));
    EXPECT_FALSE(DecodeWeatherReport(kHeader + "24015KT", kLine) == std::nullopt);
}

TEST(WeatherReportWind, PhraseTable) {
    ExpectPhrase("00000KT 9999", "zulu,,···wind·calm,,··,,visibility");
    ExpectPhrase("24015KT", "wind·2·4·0·at·1··5·knots");
    ExpectPhrase("24005G15KT", "wind·2·4·0·at··5,·gusts·1·5·knots");
    ExpectPhrase("VRB03KT", "wind·variable·at·3·knots");
    ExpectPhrase("VRB13KT", "wind·variable·at··13·knots");
    ExpectPhrase("24015KT 200V260 9999", "knots,·variable··2·0·0·to,·2·6·0·degrees,·,,visibility");
}

TEST(WeatherReportWind, Units) {
    ExpectPhrase("24015MPS", "at·1··5·meters·per·second");
    ExpectPhrase("24015KMH", "at·1··5·kilometers·per·hour");
    ExpectPhrase("24015XX 9999", "at·1··5·,,visibility");
    // A three-digit speed: its third digit stands where the unit is looked for.
    ExpectPhrase("240105KT 9999", "wind·2·4·0·at·1··0·,,visibility");
}

TEST(WeatherReportVisibility, MetricTable) {
    ExpectPhrase("24015KT 9999", ",,visibility··more·than·1·0·kilometers,");
    ExpectPhrase("24015KT 0800", ",,visibility··8·0·0·meters,");
    ExpectPhrase("24015KT 4000", ",,visibility··4·0·0·0·meters,");
    ExpectPhrase("24015KT 0000", ",,visibility··meters,");
    for (const char* km : {"9000", "8000", "7000", "6000", "5000"})
        ExpectPhrase(std::string("24015KT ") + km, std::string(",,visibility··") + km[0] + "·kilometers,,");
    ExpectPhrase("24015KT CAVOK", ",,cav·ok,,,");
}

TEST(WeatherReportVisibility, DirectionsAndSecondVisibility) {
    ExpectPhrase("24015KT 0800NE", ",,visibility··8·0·0·meters,·direction··north·east,,");
    ExpectPhrase("24015KT 0800N", "meters,·direction··north·,,");
    ExpectPhrase("24015KT 0800SW", "meters,·direction··south·west·,,");
    ExpectPhrase("24015KT 5000NDV", "5·kilometers,,··,");
    ExpectPhrase("24015KT 5000E", "5·kilometers,·direction··east·,,");
    ExpectPhrase("24015KT 5000SE", "direction··south·east·,,");
    ExpectPhrase("24015KT 5000S", "direction··south·,,");
    ExpectPhrase("24015KT 5000W", "direction··west·,,");
    ExpectPhrase("24015KT 5000NW", "direction··north·west·,,");
    ExpectPhrase("24015KT 0800 2000SW", "8·0·0·meters,·visibility··2·0·0·0·meters,·direction··south·west·,,");
    // Without a cloud group the temperature group is taken for a second visibility.
    ExpectPhrase("24015KT 9999 12/09 Q1013", "kilometers,·visibility··1·2·/·0·meters,·direction·,,");
}

TEST(WeatherReportVisibility, StatuteMiles) {
    ExpectPhrase("24015KT 1 1/2SM", ",,visibility··1,·and,··1·half·mile·,");
    ExpectPhrase("24015KT M1/4SM", ",,visibility··less·than··1·quarter·of·a·mile·,");
    ExpectPhrase("24015KT 10SM", ",,visibility··1·0·miles,,");
    ExpectPhrase("24015KT 1SM", ",,visibility··1·mile,,");
    ExpectPhrase("24015KT 0SM", ",,visibility··0,,");
    ExpectPhrase("24015KT 5SM", ",,visibility··5·miles,,");
    ExpectPhrase("24015KT 3/4SM", ",,visibility··3·quarters·of·a·mile·,");
    ExpectPhrase("24015KT 2 5/8SM", ",,visibility··2,·and,··5·eighth·of·a·mile·,");
    ExpectPhrase("24015KT 1/16SM", ",,visibility··1·sixteenth·of·a·mile·,");
    ExpectPhrase("24015KT 3/16SM", "3·sixteenth·of·a·mile·,");
    ExpectPhrase("24015KT 1/8SM", "1·eighth·of·a·mile·,");
    ExpectPhrase("24015KT 3/8SM", "3·eighth·of·a·mile·,");
    ExpectPhrase("24015KT 7/8SM", "7·eighth·of·a·mile·,");
    ExpectPhrase("24015KT 5/16SM", ",,visibility·,,");
}

TEST(WeatherReportRunwayVisualRange, Metres) {
    ExpectPhrase("24015KT 0800 R26L/0800U", "RVR·runway··2·6·left··8·0·0·meters,·increasing·");
    ExpectPhrase("24015KT 0800 R26/M0050", "RVR·runway··2·6·M·0·0·5·meters,");
    ExpectPhrase("24015KT 0800 R08R/1200D", "RVR·runway··0·8·right··1·2·0·0·meters,·decreasing·");
    ExpectPhrase("24015KT 0800 R27C/0600V1000U",
                 "RVR·runway··2·7·center··6·0·0·meters,·minimum,··1·0·0·0·meters·maximum,··increasing·");
    ExpectPhrase("24015KT 0800 R27/0600V1000", "meters,·minimum,··1·0·0·0·meters·maximum,·");
    // Runway numbers from 40 on are not a runway visual range.
    const std::string s = Decode("24015KT 0800 R45/0600 FEW010");
    EXPECT_EQ(s.find("RVR"), std::string::npos);
}

TEST(WeatherReportRunwayVisualRange, Feet) {
    ExpectPhrase("24015KT 1SM R04R/2000V4000FT",
                 "RVR·runway··0·4·right··2·0·0·0·feet,·minimum,··4·0·0·0·feet·maximum,·");
    ExpectPhrase("24015KT 1SM R04/P6000FT", "RVR·runway··0·4·more·than··6·0·0·0·feet,");
    ExpectPhrase("24015KT 1SM R04/M0600FT", "RVR·runway··0·4·less·than··6·0·0·feet,");
}

TEST(WeatherReportPresentWeather, PhraseTable) {
    ExpectPhrase("24015KT 9999 -SHRA", "light·showers·of·rain·,");
    ExpectPhrase("24015KT 9999 VCSH", "vicinity·showers·,");
    ExpectPhrase("24015KT 9999 +TSRA", "heavy·thunderstorm·rain·,");
    ExpectPhrase("24015KT 9999 SHRASN", "kilometers,,··,");
    ExpectPhrase("24015KT 9999 NSC", "no·significant·clouds·,");
    ExpectPhrase("24015KT 9999 NSW", "no·significant·weather·,");
    ExpectPhrase("24015KT 0800 FZFG", "freezing·fog·,");
    ExpectPhrase("24015KT 0800 BR", "mist·,");
    ExpectPhrase("24015KT 0800 -RA", "light·rain·,");
    // A group of three or five characters loses its first one, sign or not.
    ExpectPhrase("24015KT 0800 XDZ FEW010", "meters,,··drizzle·,·few");
    // After a runway visual range the weather phrase starts afresh.
    ExpectPhrase("24015KT 0800 R26/0800 -DZ", "meters,·light·drizzle·,");
}

TEST(WeatherReportPresentWeather, EveryDescriptorAndPhenomenon) {
    const std::pair<const char*, const char*> descriptors[] = {
        {"MI", "shallow "}, {"PR", "partial "},    {"BC", "patches of "},   {"DR", "low drifting "},
        {"BL", "blowing "}, {"SH", "showers of "}, {"TS", "thunderstorm "}, {"FZ", "freezing "}};
    for (const auto& [code, phrase] : descriptors)
        ExpectPhrase(std::string("24015KT 0800 ") + code + "FG", Dots(std::string(phrase)) + "fog·,");
    const std::pair<const char*, const char*> phenomena[] = {
        {"TS", "thunderstorm "}, {"DZ", "drizzle "},       {"RA", "rain "},
        {"BR", "mist "},         {"SN", "snow "},          {"SG", "snow grains "},
        {"IC", "ice crystals "}, {"PL", "ice pallets "},   {"GR", "hail "},
        {"GS", "small hail "},   {"UP", "precipitation "}, {"FG", "fog "},
        {"FU", "smoke "},        {"VA", "volcanic ash "},  {"DU", "widespread dust "},
        {"SA", "sand "},         {"HZ", "haze "},          {"PY", "spray "},
        {"SH", "showers "},      {"PO", "dust whirls "},   {"SQ", "squalls "},
        {"FC", "funnel cloud "}, {"SS", "sand storm "},    {"DS", "dust storm "}};
    for (const auto& [code, phrase] : phenomena)
        ExpectPhrase(std::string("24015KT 0800 ") + code + " FEW010", std::string(",,··") + phrase + ",·few");
}

TEST(WeatherReportClouds, PhraseTable) {
    ExpectPhrase("24015KT 9999 BKN045", "broken··4·5·0·0·feet");
    ExpectPhrase("24015KT 9999 OVC100CB", "overcast··1·0·thousand·feet,·kumulo·nimbus,");
    ExpectPhrase("24015KT 9999 FEW004", "few··4·0·0·feet");
    ExpectPhrase("24015KT 9999 SCT250TCU", "scattered··2·5·thousand·feet·towering·cumulus,");
    ExpectPhrase("24015KT 9999 VV001", "vertical·visibility··1·0·0·feet");
    ExpectPhrase("24015KT 9999 SKC", "sky·clear,");
    ExpectPhrase("24015KT 9999 CLR", "sky·clear,");
    ExpectPhrase("24015KT 9999 FEW012 SCT020 BKN100",
                 "few··1·2·0·0·feet·scattered··2·thousand·feet·broken··1·0·thousand·feet·,·,temperature");
}

TEST(WeatherReportTemperature, PhraseTable) {
    ExpectPhrase("24015KT 9999 FEW010 M05/M10", ",·,temperature·minus··5,dew·point·minus··1·0·,");
    ExpectPhrase("24015KT 9999 FEW010 12/09", ",·,temperature··1·2,dew·point··9,");
    ExpectPhrase("24015KT 9999 FEW010 00/M00", ",·,temperature··0·,dew·point·minus··0·,");
    ExpectPhrase("24015KT 9999 FEW010 20/10", ",·,temperature··2·0·,dew·point··1·0·,");
}

TEST(WeatherReportTemperature, MinusTemperatureWithoutCloudsIsReadAsTemperature) {
    // A temperature below zero right after the visibility or CAVOK is no weather group, and the
    // pressure that follows is read as the pressure.
    const std::pair<const char*, const char*> cases[] = {
        {"24015KT 9999 M05/M10 Q1013",
         "kilometers,,·,·,temperature·minus··5,dew·point·minus··1·0·,·Q·N·H,·1,·0,·1,·3,"},
        {"24015KT CAVOK M02/M05 Q1030",
         "cav·ok,,,·,·,temperature·minus··2,dew·point·minus··5,·Q·N·H,·1,·0,·3,·0,"},
        {"24015KT CAVOK 02/M05 Q1030", "cav·ok,,,·,·,temperature··2,dew·point·minus··5,·Q·N·H,"},
    };
    for (const auto& [groups, phrase] : cases)
        ExpectPhrase(groups, phrase);
}

TEST(WeatherReportPressure, PhraseTable) {
    ExpectPhrase("24015KT 9999 FEW010 12/09 Q1013", "Q·N·H,·1,·0,·1,·3,·hecto·pascal,");
    ExpectPhrase("24015KT 9999 FEW010 12/09 Q0998", "Q·N·H,·,·9,·9,·8,·hecto·pascal,");
    ExpectPhrase("24015KT 9999 FEW010 12/09 A2992", "Altimeter·2,·9,·9,·2,·inches,");
    ExpectPhrase("24015KT 9999 FEW010 12/09 X1013", "dew·point··9,··1,·0,·1,·3·");
}

TEST(WeatherReportRecentWeather, RecentCodesOnly) {
    ExpectPhrase("24015KT 9999 FEW010 12/09 Q1013 RERA", "recent·rain·,·");
    ExpectPhrase("24015KT 9999 FEW010 12/09 Q1013 RESHRA", "recent·showers·of·rain·,·");
    ExpectPhrase("24015KT 9999 FEW010 12/09 Q1013 RETSRA", "recent·rain·,·");
    ExpectPhrase("24015KT 9999 FEW010 12/09 Q1013 REFG", "recent·,·");
    ExpectPhrase("24015KT 9999 FEW010 12/09 Q1013 RETS", "recent·thunderstorm·,·");
}

TEST(WeatherReportWindShear, TakeOffAndLanding) {
    ExpectPhrase("24015KT 9999 FEW010 12/09 Q1013 WS TKOF R27L",
                 "windshear·take·off·runway·right·2·7·left,·");
    ExpectPhrase("24015KT 9999 FEW010 12/09 Q1013 WS LDG R09C",
                 "windshear·landing·runway·right·0·9·center,·");
}

TEST(WeatherReportTrend, TrendWordsAndRemarks) {
    ExpectPhrase("24015KT 9999 FEW010 12/09 Q1013 NOSIG", "trend·no·sig,,··");
    ExpectPhrase("24015KT 9999 FEW010 12/09 Q1013 TEMPO 4000", "trend·no·sig,,··");
    ExpectPhrase("24015KT 9999 FEW010 12/09 Q1013 BECMG", "trend·no·sig,,··");
    const std::string remarks = Decode("24015KT 9999 FEW010 12/09 Q1013 RMK AO2 SLP132");
    EXPECT_NE(remarks.find("hecto pascal, london heathrow airport information , out,, "), std::string::npos)
        << remarks;
}

TEST(WeatherReportWholeReports, Heathrow) {
    const auto s = DecodeWeatherReport(
        ReportFromReply("2026/12/08 15:50\nEGLL 081550Z 24015G25KT 200V260 9999 -SHRA FEW012 BKN045CB 12/09 "
                        "Q1013 NOSIG\n"),
        "EGLL London Heathrow");
    ASSERT_TRUE(s);
    EXPECT_EQ(*s,
              Radio("this is london heathrow airport information ,,time of met report 1 5 5 0 zulu,,  "
                    "wind 2 4 0 at 1  5, gusts 2 5 knots, variable  2 0 0 to, 2 6 0 degrees, ,,visibility  "
                    "more than 1 0 kilometers,, light showers of rain , few  1 2 0 0 feet broken  4 5 0 0 "
                    "feet, kumulo nimbus, , ,temperature  1 2,dew point  9, Q N H, 1, 0, 1, 3, hecto "
                    "pascal, trend no sig,,  london heathrow airport information , out,, "));
}

TEST(WeatherReportWholeReports, KennedyInStatuteMiles) {
    const auto s = SentenceFromReply(
        "2026/12/08 15:51\nKJFK 081551Z 31008KT 1 1/2SM R04R/2000V4000FT BR OVC004 M05/M10 A2992 RMK AO2\n",
        "KJFK John F Kennedy Intl");
    ASSERT_TRUE(s);
    EXPECT_EQ(
        *s,
        Radio("this is john f kennedy intl airport information ,,time of met report 1 5 5 1 zulu,,  "
              "wind 3 1 0 at  8 knots ,,visibility  1, and,  1 half mile ,, RVR runway  0 4 right  2 0 0 0 "
              "feet, minimum,  4 0 0 0 feet maximum,   mist , overcast  4 0 0 feet , ,temperature minus "
              " 5,dew point minus  1 0 , Altimeter 2, 9, 9, 2, inches, john f kennedy intl airport "
              "information , out,, "));
}

TEST(WeatherReportWholeReports, CalmCavokAuto) {
    const auto s = SentenceFromReply("2026/12/08 16:20\nEDDF 081620Z AUTO 00000KT CAVOK 03/M01 Q1030 NOSIG\n",
                                     "EDDF Frankfurt Main");
    ASSERT_TRUE(s);
    EXPECT_EQ(*s,
              Radio("this is frankfurt main airport information ,,time of met report 1 6 2 0 zulu,,  "
                    "automatic observation,  wind calm,,  ,,cav ok,,, , ,temperature  3,dew point minus  1, "
                    "Q N H, 1, 0, 3, 0, hecto pascal, trend no sig,,  frankfurt main airport information , "
                    "out,, "))
        << *s;
}

TEST(WeatherReportLimits, LongReportIsCutAfter285Characters) {
    std::string groups = "24015KT 9999";
    while (groups.size() < 300)
        groups += " FEW010";
    const std::string report = kHeader + groups;
    ASSERT_GT(report.size(), 285u);
    const std::string cut = report.substr(0, 285);
    EXPECT_EQ(DecodeWeatherReport(report, kLine), DecodeWeatherReport(cut, kLine));
    EXPECT_NE(DecodeWeatherReport(report, kLine), DecodeWeatherReport(cut.substr(0, 280), kLine));
}

TEST(WeatherReportLimits, NameIsCutAt255Characters) {
    const std::string line = "EGLL " + std::string(300, 'a');
    const auto s = DecodeWeatherReport(kHeader + "24015KT", line);
    ASSERT_TRUE(s);
    EXPECT_EQ(s->rfind("this is " + std::string(255, 'a') + " airport information", 0), 0u);
}

TEST(WeatherReportLimits, OddInputNeverFails) {
    for (const std::string& r :
         {std::string(), std::string(28, 'Z'), kHeader + " ", kHeader + "R", kHeader + "2401500000000000",
          kHeader + "WS WS WS WS", kHeader + std::string(400, ' '),
          kHeader + std::string("\0\0\0\0\0\0\0\0", 8)}) {
        EXPECT_NO_THROW(DecodeWeatherReport(r, r));
    }
}

} // namespace
} // namespace vantrel
