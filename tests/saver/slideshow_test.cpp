// The slideshow with a loader that takes its time, as a worker does: frames never wait for it.
#include <gtest/gtest.h>

#include "saver/saver_fixture.h"

namespace orvel {
namespace {

// Pictures from memory, each decoded only when the test says it is done.
struct SlowPictureLoader : MemoryPictureLoader {
  explicit SlowPictureLoader(CallLog&) {}
  void Request(const std::string& path, const DrawnSize& drawn) override {
    requested = path;
    requestedDrawn = drawn;
    done = false;
  }
  bool Ready() override {
    if (asksUntilDone > 0 && --asksUntilDone == 0) done = true;
    return !requested || done;
  }
  std::optional<Picture> Take() override {
    std::optional<Picture> picture;
    if (requested && done) picture = Decode(*requested, requestedDrawn);
    requested.reset();
    return picture;
  }
  void Prefetch(const std::string& path, const DrawnSize&) override { prefetched.push_back(path); }

  std::optional<std::string> requested;
  DrawnSize requestedDrawn;
  bool done = false;
  int asksUntilDone = 0;  // when not 0: done at that ask of Ready
  std::vector<std::string> prefetched;
};

struct SlowRig : SaverRigWith<SlowPictureLoader> {
  SlowRig() {
    state.settings.ChangeInterval = 10;
    state.settings.PictureSize = 1;
    UsePictures(
        {{"a", NoiseImage(97, 61, 1)}, {"b", NoiseImage(97, 61, 2)}, {"c", NoiseImage(97, 61, 3)}});
  }
};

TEST(SaverSlideshow, OrbsGoOnOverTheOldPictureWhileTheNextIsDecodedAndBlackWhenItNeverIs) {
  SlowRig rig;
  const Image& a = rig.pictures.pictures.at("a");
  const Image& b = rig.pictures.pictures.at("b");
  rig.pictures.asksUntilDone = 1;
  rig.saver.Form_Load();
  rig.RunUntil(0);
  EXPECT_EQ(rig.saver.Background(), a);
  EXPECT_EQ(rig.pictures.prefetched, std::vector<std::string>{"b"});

  // At the change the drift turns at once; the picture comes when decoded.
  const int direction = rig.saver.Direction;
  rig.RunUntil(10000);
  EXPECT_EQ(rig.saver.Direction, direction ^ 1);
  EXPECT_EQ(rig.pictures.requested, "b");
  const int presented = rig.host.framesPresented;
  rig.RunUntil(12000);
  EXPECT_EQ(rig.host.framesPresented, presented + 60);
  EXPECT_EQ(rig.saver.Background(), a);
  rig.pictures.done = true;
  rig.RunUntil(12034);
  EXPECT_EQ(rig.saver.Background(), b);
  // The new background goes on the whole screen at the next frame.
  rig.RunUntil(12067);
  EXPECT_EQ(rig.host.lastChanged, (std::vector<Rect>{Rect{0, 0, 97, 61}}));

  // A picture not decoded when the wait is over is unreadable; the show goes on at the next change.
  rig.RunUntil(20000 + kPictureWaitMs - 1);
  EXPECT_EQ(rig.pictures.requested, "c");
  EXPECT_EQ(rig.saver.Background(), b);
  rig.RunUntil(20000 + kPictureWaitMs);
  EXPECT_EQ(rig.saver.Background(), Image(97, 61));
  EXPECT_FALSE(rig.pictures.requested);
  rig.RunUntil(30000);
  EXPECT_TRUE(rig.pictures.requested);
  EXPECT_EQ(rig.saver.Direction, direction ^ 1);

  // A key ends the saver while a picture is still being decoded.
  rig.host.KeyDownAt(31000, 'K');
  rig.RunUntil(31000);
  EXPECT_TRUE(rig.saver.Ended());
}

TEST(SaverSlideshow, TheFirstPictureGoesUpWithTheWindowUnlessItNeverComes) {
  {
    SlowRig rig;
    rig.pictures.asksUntilDone = 3;
    rig.saver.Form_Load();
    EXPECT_EQ(rig.saver.Master, rig.pictures.pictures.at("a"));
    EXPECT_GT(rig.platform.clock.now, 0);
    EXPECT_LT(rig.platform.clock.now, kPictureWaitMs);
  }
  {
    SlowRig rig;
    rig.platform.clock.now = 1000;  // the wait counts from the request
    rig.saver.Form_Load();
    EXPECT_EQ(rig.saver.Master, Image(97, 61));
    EXPECT_EQ(rig.platform.clock.now, 1000 + kPictureWaitMs);
    EXPECT_FALSE(rig.pictures.requested);
  }
  {
    // A close request during the wait ends the saver there, before the music and the window.
    SlowRig rig;
    rig.state.settings.BgmKind = 2;
    rig.state.settings.BgmFile = "a.mp3";
    rig.host.CloseRequestAt(100);
    rig.saver.Form_Load();
    EXPECT_TRUE(rig.saver.Ended());
    EXPECT_EQ(rig.platform.clock.now, 100);
    EXPECT_EQ(rig.platform.log.calls,
              (std::vector<std::string>{"QueryVersion", "Mp3Stop", "SystemParameter 97 0",
                                        "SystemParameter 17 1", "Close"}));
  }
}

TEST(SaverSlideshow, AsksForPicturesAtTheSizeTheyAreDrawn) {
  for (const int pictureSize : {1, 0}) {
    SlowRig rig;
    rig.state.settings.PictureSize = static_cast<std::int16_t>(pictureSize);
    rig.saver.Form_Load();
    const DrawnSize drawn = rig.pictures.requestedDrawn;
    // Fitted by its own orientation on the 97 x 61 screen, whole; at its own size, the middle.
    EXPECT_EQ(drawn({1280, 1024}), (pictureSize != 0 ? PixelSize{97, 78} : PixelSize{1280, 1024}));
    EXPECT_EQ(drawn({600, 800}), (pictureSize != 0 ? PixelSize{46, 61} : PixelSize{600, 800}));
    EXPECT_EQ(drawn.Shown({1280, 1024}),
              (pictureSize != 0 ? Rect{0, 0, 1280, 1024} : Rect{592, 482, 97, 61}));
  }
}

}  // namespace
}  // namespace orvel
