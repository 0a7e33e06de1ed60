#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

#include "core/Errors.h"
#include "core/FileReplace.h"
#include "core/InstanceLock.h"
#include "core/SettingsFiles.h"

namespace zr {
namespace {

namespace fs = std::filesystem;

class SettingsFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string tmpl = (fs::temp_directory_path() / "zr-settings-XXXXXX").string();
    ASSERT_NE(::mkdtemp(tmpl.data()), nullptr);
    dir_ = tmpl;
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string path(const std::string& name) const { return (dir_ / name).string(); }
  void put(const std::string& name, const std::string& bytes) const {
    std::ofstream(path(name), std::ios::binary) << bytes;
  }
  std::string get(const std::string& name) const {
    std::ifstream in(path(name), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }
  std::set<std::string> entries() const {
    std::set<std::string> names;
    for (const auto& e : fs::directory_iterator(dir_)) names.insert(e.path().filename().string());
    return names;
  }

  fs::path dir_;
};

// The byte layouts are the contract with files written by earlier versions.
TEST_F(SettingsFilesTest, WritersProduceTheExactLayouts) {
  writeIniFile({1440, -15, "1425000", "USB", "Split Off", "OFF"}, path("ini"));
  EXPECT_EQ(get("ini"), " 1440 \r\n-15 \r\n1425000\r\nUSB\r\nSplit Off\r\nOFF\r\n");

  writePortSetup({"1", "9600,O,7,1", "comRTS", "1"}, path("port"));
  EXPECT_EQ(get("port"),
            "1\r\n9600,O,7,1\r\ncomRTS\r\n1\r\n"
            "Line 1: Port Number, COM1 = 1, COM2 = 2, etc..\r\n"
            "Line 2: Baud,Parity,Bits,Stop\r\n"
            "Line 3: comNone, comXonXoff, comRTS, comRTSXonXoff\r\n"
            "Line 4: External PTT Enable: Enabled =  1 \r\n");

  writeCatSetup({"12", "4800,E,7,1", "comNone", "TS-2000"}, path("cat"));
  EXPECT_EQ(get("cat"),
            "12\r\n4800,E,7,1\r\ncomNone\r\nTS-2000\r\n"
            "Line 1: Port Number, COM1 = 1, COM2 = 2, etc..\r\n"
            "Line 2: Baud,Parity,Bits,Stop\r\n"
            "Line 3: comNone, comXonXoff, comRTS, comRTSXonXoff\r\n"
            "Line 4: RigType\r\n");

  writeAudioSetup({"H2", "'0", "\"0", "H3", "V1"}, path("audio"));
  EXPECT_EQ(get("audio"),
            "H2 Phone Audio Source\r\n'0 PTT Enable\r\n\"0 LocalRemote Audio\r\n"
            "H3 Digital Audio Source\r\nV1 Digital VOX: [V1|V2|V3]\r\n"
            "Comments:\r\n"
            "Phone & DigAudio Source: H1 -> MIC, H2 -> Audio2, H3 -> Patch\r\n"
            "Digital VOX: V0 -> OFF, V1 -> VOICE, V2 -> DATA\r\n"
            "PTT: '0 -> Disable, '1 -> Enable\r\n"
            "LocalRemote: \"0 -> Remote, \"1 -> Local\r\n");
}

TEST_F(SettingsFilesTest, WrittenFilesReadBackUnchanged) {
  const IniFileValues ini{990, 0, "0012345", "CW", "Split On", "1KHz"};
  writeIniFile(ini, path("ini"));
  EXPECT_EQ(readIniFile(path("ini")), ini);

  const PortSetupValues port{"3", "9600 ,O,7,1", "comRTSXonXoff", "0"};
  writePortSetup(port, path("port"));
  EXPECT_EQ(readPortSetup(path("port")), port);

  const CatSetupValues cat{"7", "9600,N, 8, 1", "comXonXoff", "K3"};
  writeCatSetup(cat, path("cat"));
  EXPECT_EQ(readCatSetup(path("cat")), cat);

  const AudioSetupValues audio{"H3", "'0", "\"0", "H1", "V0"};
  writeAudioSetup(audio, path("audio"));
  EXPECT_EQ(readAudioSetup(path("audio")), audio);
}

TEST_F(SettingsFilesTest, ReadersAcceptCrLfCrAndLfLineEnds) {
  for (const std::string eol : {"\r\n", "\r", "\n"}) {
    put("p", "2" + eol + "4800,O,7,1" + eol + eol + "1" + eol + "Line 1" + eol);
    const auto v = readPortSetup(path("p"));
    ASSERT_TRUE(v);
    EXPECT_EQ(v->port, "2");
    EXPECT_EQ(v->settings, "4800,O,7,1");
    EXPECT_EQ(v->handshake, "") << "an empty line is a value";
    EXPECT_EQ(v->extPtt, "1");
  }
  put("mixed", "a\rb\nc\r\nd");
  const auto v = readCatSetup(path("mixed"));
  ASSERT_TRUE(v);
  EXPECT_EQ(v->port + v->settings + v->handshake + v->rigType, "abcd");
}

TEST_F(SettingsFilesTest, ShortFilesReadAsEmptyLines) {
  put("ini", " 1200 \r\n");
  const auto ini = readIniFile(path("ini"));
  ASSERT_TRUE(ini);
  EXPECT_EQ(ini->left, 1200);
  EXPECT_EQ(ini->top, 0);
  EXPECT_EQ(ini->vfoB + ini->vfoBMode + ini->split + ini->stepSize, "");

  put("audio", "H2\r\nH");
  const auto audio = readAudioSetup(path("audio"));
  ASSERT_TRUE(audio);
  EXPECT_EQ(audio->phoneSource, "H2");
  EXPECT_EQ(audio->pttEnable, "H ") << "a lone letter is padded and matches no code";
  EXPECT_EQ(audio->localRemote, "  ") << "the defaults are only for a missing file";
  EXPECT_EQ(audio->digVox, "  ");

  put("empty", "");
  const auto port = readPortSetup(path("empty"));
  ASSERT_TRUE(port);
  EXPECT_EQ(port->port + port->settings + port->handshake + port->extPtt, "");
}

TEST_F(SettingsFilesTest, ValuesAreTakenAsTheyStand) {
  put("port", "1\r\n9600,O,7,1\r\ncomRTS\r\n1 \r\n");
  EXPECT_EQ(readPortSetup(path("port"))->extPtt, "1 ");

  put("ini", "x\r\n -30.6 \r\n12345678\r\n");
  const auto ini = readIniFile(path("ini"));
  EXPECT_EQ(ini->left, 0);
  EXPECT_EQ(ini->top, -31);
  EXPECT_EQ(ini->vfoB, "12345678");

  EXPECT_FALSE(readIniFile(path("missing")));
  EXPECT_FALSE(readAudioSetup(path("missing")));
  EXPECT_EQ(AudioSetupValues{}.localRemote, "\"1");
}

TEST_F(SettingsFilesTest, ReadingADirectoryIsAnErrorNotAShortFile) {
  fs::create_directory(path("d"));
  EXPECT_THROW(readCatSetup(path("d")), RuntimeError);
}

TEST_F(SettingsFilesTest, FilesLiveInTheWorkingDirectory) {
  const fs::path before = fs::current_path();
  fs::current_path(dir_);
  writeAudioSetup({});
  const auto audio = readAudioSetup();
  const bool marker = permissionsFilePresent();
  fs::current_path(before);
  EXPECT_EQ(entries(), std::set<std::string>{"AudioSetup.txt"});
  ASSERT_TRUE(audio);
  EXPECT_EQ(audio->digSource, "H3");
  EXPECT_FALSE(marker);
}

TEST_F(SettingsFilesTest, PermissionsMarkerCountsByPresence) {
  EXPECT_FALSE(permissionsFilePresent(path("Permissions.txt")));
  put("Permissions.txt", "");
  EXPECT_TRUE(permissionsFilePresent(path("Permissions.txt")));
  fs::create_directory(path("dir"));
  EXPECT_FALSE(permissionsFilePresent(path("dir")));
}

TEST_F(SettingsFilesTest, FailedWriteKeepsTheOldFileAndLeavesNoTemporary) {
  put("CATSetup.txt", "old contents");
  const std::string old = get("CATSetup.txt");
  // A file limit makes every write past it fail, as a full disk would.
  ::signal(SIGXFSZ, SIG_IGN);
  rlimit saved{};
  ::getrlimit(RLIMIT_FSIZE, &saved);
  rlimit tiny = saved;
  tiny.rlim_cur = 8;
  ::setrlimit(RLIMIT_FSIZE, &tiny);
  EXPECT_THROW(writeCatSetup({"1", "9600,N,8,1", "comNone", "TS-2000"}, path("CATSetup.txt")), RuntimeError);
  ::setrlimit(RLIMIT_FSIZE, &saved);
  ::signal(SIGXFSZ, SIG_DFL);
  EXPECT_EQ(get("CATSetup.txt"), old);
  EXPECT_EQ(entries(), std::set<std::string>{"CATSetup.txt"});
}

TEST_F(SettingsFilesTest, OnlyTemporariesOfEndedProcessesAreRemoved) {
  const pid_t child = ::fork();
  if (child == 0) ::_exit(0);
  ASSERT_GT(child, 0);
  ::waitpid(child, nullptr, 0);
  const std::string dead = std::to_string(child);
  const std::string live = std::to_string(::getpid());
  put("ZR3817ini.txt", "kept");
  for (const std::string& name : {".ZR3817ini.txt." + dead + ".0.tmp", ".M40List.txt." + dead + ".17.tmp"})
    put(name, "left by a killed run");
  const std::set<std::string> kept = {
      "ZR3817ini.txt",
      ".ZR3817ini.txt." + live + ".3.tmp",  // a live panel's write in progress
      "ZR3817ini.txt." + dead + ".0.tmp",   // not the pattern
      ".ZR3817ini.txt." + dead + ".tmp",
      ".ZR3817ini.txt." + dead + ".0.tmp.bak",
      "." + dead + ".0.tmp",
      ".ZR3817ini.txt.x" + dead + ".0.tmp",
      ".link." + dead + ".0.tmp",  // not a regular file
      ".dir." + dead + ".0.tmp",
      "sub",
  };
  for (const auto& name : kept) put(name, "x");
  fs::remove(path(".link." + dead + ".0.tmp"));
  fs::create_symlink("ZR3817ini.txt", path(".link." + dead + ".0.tmp"));
  fs::remove(path(".dir." + dead + ".0.tmp"));
  fs::create_directory(path(".dir." + dead + ".0.tmp"));
  fs::remove(path("sub"));
  fs::create_directory(path("sub"));
  put("sub/.ZR3817ini.txt." + dead + ".0.tmp", "elsewhere");

  EXPECT_EQ(removeStaleTemporaries(dir_.string()), 2);
  EXPECT_EQ(entries(), kept);
  EXPECT_EQ(get("ZR3817ini.txt"), "x");
  EXPECT_TRUE(fs::exists(path("sub/.ZR3817ini.txt." + dead + ".0.tmp")));
  EXPECT_EQ(removeStaleTemporaries(path("no-such-dir")), 0);
}

TEST_F(SettingsFilesTest, UnwritablePlacesReportTheirErrorNumber) {
  fs::create_directory(path("PortSetup.txt"));
  put("PortSetup.txt/keep", "x");
  try {
    writePortSetup({}, path("PortSetup.txt"));
    FAIL();
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.number, err::PathFileAccessError);
  }
  EXPECT_EQ(entries(), std::set<std::string>{"PortSetup.txt"});
  EXPECT_EQ(get("PortSetup.txt/keep"), "x");

  try {
    writeIniFile({}, path("no-such-dir/ZR3817ini.txt"));
    FAIL();
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.number, err::PathNotFound);
    EXPECT_EQ(errMessage("ZR3817ini.txt", e), "ZR3817ini.txt: Err 76. No such file or directory");
  }
  EXPECT_EQ(fileError(ENOSPC).number, err::DiskFull);
  EXPECT_EQ(fileError(EACCES).number, err::PermissionDenied);
}

TEST_F(SettingsFilesTest, ReplacingKeepsLinksAndPermissions) {
  put("real.txt", "old");
  ::chmod(path("real.txt").c_str(), 0640);
  fs::create_symlink("real.txt", path("AudioSetup.txt"));
  writeAudioSetup({}, path("AudioSetup.txt"));
  EXPECT_TRUE(fs::is_symlink(path("AudioSetup.txt")));
  EXPECT_EQ(get("real.txt").substr(0, 2), "H1");
  struct stat st {};
  ::stat(path("real.txt").c_str(), &st);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
  EXPECT_EQ(entries(), (std::set<std::string>{"AudioSetup.txt", "real.txt"}));
}

TEST_F(SettingsFilesTest, ReadersRefuseWhatIsNotASmallRegularFile) {
  fs::create_symlink("/dev/zero", path("PortSetup.txt"));
  ASSERT_EQ(::mkfifo(path("AudioSetup.txt").c_str(), 0600), 0);
  put("ZR3817ini.txt", std::string(64 * 1024 + 1, '1'));
  auto reason = [](auto read) {
    try {
      read();
    } catch (const RuntimeError& e) {
      return e.description;
    }
    return std::string("read");
  };
  // Each returns at once: nothing is read to exhaustion or waited on.
  EXPECT_EQ(reason([&] { readPortSetup(path("PortSetup.txt")); }), "is not a regular file");
  EXPECT_EQ(reason([&] { readAudioSetup(path("AudioSetup.txt")); }), "is not a regular file");
  EXPECT_EQ(reason([&] { readIniFile(path("ZR3817ini.txt")); }), "is larger than 64 KiB");
  fs::create_symlink("nowhere", path("CATSetup.txt"));
  EXPECT_FALSE(readCatSetup(path("CATSetup.txt"))) << "a link to nothing is a missing file";
}

TEST_F(SettingsFilesTest, LinksAreWrittenThroughOnlyToTheUsersOwnRegularFiles) {
  auto refusal = [&](const std::string& name) {
    try {
      writeCatSetup({}, path(name));
    } catch (const RuntimeError& e) {
      return std::to_string(e.number) + " " + e.description;
    }
    return std::string("written");
  };
  fs::create_symlink("/dev/null", path("device"));
  EXPECT_EQ(refusal("device"), "75 is a symbolic link to /dev/null, not a regular file, not written");
  fs::create_symlink(path("missing"), path("dangling"));
  EXPECT_EQ(refusal("dangling"), "75 is a symbolic link to nothing that exists, not written");
  EXPECT_FALSE(fs::exists(path("missing")));

  // Another user's file: root gives one away, anyone else finds one in /etc.
  put("theirs", "keep");
  const std::string theirs = ::geteuid() == 0 ? path("theirs") : "/etc/passwd";
  if (::geteuid() == 0) {
    ASSERT_EQ(::chown(theirs.c_str(), 65534, 65534), 0);
  }
  fs::create_symlink(theirs, path("foreign"));
  EXPECT_EQ(refusal("foreign"), "75 is a symbolic link to " + theirs + ", a file of another user, not written");
  EXPECT_EQ(get("theirs"), "keep");
  put("mine", "old");
  fs::create_symlink("mine", path("own"));
  EXPECT_EQ(refusal("own"), "written");
  EXPECT_EQ(get("mine").substr(0, 2), "\r\n");
}

TEST_F(SettingsFilesTest, TheInstanceLockIsNeverTakenThroughALink) {
  fs::create_symlink(path("target"), path("ZR3817.lock"));
  InstanceLock lock;
  EXPECT_TRUE(lock.acquire(path("ZR3817.lock"))) << "no lock is no reason to refuse to start";
  EXPECT_FALSE(fs::exists(path("target")));
}

TEST(SettingsFormatTest, UnusableValuesAreNamedByLine) {
  EXPECT_EQ(portSetupProblem({"3", "", "", ""}), "");
  EXPECT_EQ(portSetupProblem({"abc", "", "", ""}), "line 1 (\"abc\") is not a port number");
  EXPECT_EQ(portSetupProblem({"0", "", "", ""}), "line 1 (\"0\") is not a port number");
  EXPECT_EQ(portSetupProblem({"", "", "", ""}), "line 1 (\"\") is not a port number");

  AudioSetupValues good{"H2", "'0", "\"0", "H3", "V1"};
  const AudioSetupValues kept = good;
  EXPECT_TRUE(repairAudioSetup(good).empty());
  EXPECT_EQ(good, kept);
  AudioSetupValues bad = parseAudioSetup("H2\r\nx\x01\r\n\"0\r\nH4\r\nV2\r\n");
  const auto problems = repairAudioSetup(bad);
  ASSERT_EQ(problems.size(), 2u);
  EXPECT_EQ(problems[0], "line 2 (\"x\x01\") is not a PTT enable code, '1 is used");
  EXPECT_EQ(problems[1], "line 4 (\"H4\") is not a digital audio source, H3 is used");
  EXPECT_EQ(bad, (AudioSetupValues{"H2", "'1", "\"0", "H3", "V2"}));
}

TEST(SettingsFormatTest, HandshakeNamesMatchExactly) {
  EXPECT_EQ(handshakeIndex("comNone"), 0);
  EXPECT_EQ(handshakeIndex("comXonXoff"), 1);
  EXPECT_EQ(handshakeIndex("comRTS"), 2);
  EXPECT_EQ(handshakeIndex("comRTSXonXoff"), 3);
  EXPECT_EQ(handshakeIndex("comrts"), 0);
  EXPECT_EQ(handshakeIndex("comRTS "), 0);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(handshakeIndex(handshakeName(i)), i);
  EXPECT_STREQ(handshakeName(4), "comNone");
  EXPECT_STREQ(handshakeName(-1), "comNone");
}

TEST(SettingsFormatTest, NumbersAndFixedTexts) {
  EXPECT_EQ(printNumber(0), " 0 ");
  EXPECT_EQ(printNumber(-5), "-5 ");
  EXPECT_EQ(leadingNumber(" 1440 "), 1440);
  EXPECT_EQ(leadingNumber(""), 0);
  EXPECT_EQ(leadingNumber(std::string(400, '9')), std::numeric_limits<long>::max());
  EXPECT_EQ(fixedText("3", 2), "3 ");
  EXPECT_EQ(fixedText("123", 2), "12");
  EXPECT_EQ(fixedText("", 2), "  ");
}

}  // namespace
}  // namespace zr
