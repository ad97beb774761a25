// The seam between the portable core and the operating system: small
// service interfaces, implemented once per platform (headless/, linux/,
// win32/). Nothing here includes an OS header, and nothing here decides
// what the saver does: the services only move files, pixels, events and
// commands.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

#include "graphics/frame.h"
#include "graphics/image.h"

namespace orvel {

// How paths are spelled: "C:\Pics\a.bmp" or "/home/me/Pics/a.bmp".
enum class PathStyle { Windows, Posix };

// File attribute values as the picture scan compares them.
namespace FileAttribute {
constexpr int Normal = 0;
constexpr int ReadOnly = 1;
constexpr int Hidden = 2;
constexpr int System = 4;
constexpr int Directory = 16;
constexpr int Archive = 32;
}  // namespace FileAttribute

// What tells one version of a file from another without reading it: its
// size, the time it was last written (in the file system's own unit) and,
// where the file system numbers its files, which file the name leads to (a
// file replaced by another under the same name shows there).
struct FileStamp {
  std::uint64_t size = 0;
  std::int64_t modified = 0;
  std::uint64_t device = 0, node = 0;

  friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

// How replacing a file went: when it failed, `reason` says why in words a
// user can be shown ("Permission denied").
struct WriteOutcome {
  bool ok = false;
  std::string reason;

  explicit operator bool() const { return ok; }
  static WriteOutcome Done() { return {true, {}}; }
  static WriteOutcome Failed(std::string why) { return {false, std::move(why)}; }
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  virtual PathStyle Style() const = 0;

  // The names (without folder) of the files in the folder of `pattern` whose
  // names match its last part ("*" and "?" wildcards), in the order the
  // platform lists them. Folders, hidden and system files are never listed.
  // nullopt when the folder cannot be listed at all.
  virtual std::optional<std::vector<std::string>> ListFiles(const std::string& pattern) = 0;

  // Whether at least one entry, folders included, matches `pattern`.
  virtual bool HasEntry(const std::string& pattern) = 0;

  // The attribute value of a file or folder (a sum of FileAttribute bits);
  // nullopt when it does not exist.
  virtual std::optional<int> Attributes(const std::string& path) = 0;

  // Whether the file can be opened for reading right now.
  virtual bool CanOpenForRead(const std::string& path) = 0;

  // The whole file; nullopt when it is missing, unreadable or longer than
  // `maxBytes`.
  virtual std::optional<std::string> ReadFile(const std::string& path, std::size_t maxBytes) = 0;

  // The stamp of the file as it is now; nullopt when there is no such file
  // (a folder has none).
  virtual std::optional<FileStamp> Stamp(const std::string& path) = 0;

  // Replaces the file's contents in one step, creating its folder when it is
  // missing: a reader sees the old contents or the new ones, never a mix,
  // and a failure leaves the old file untouched. A read-only file is never
  // replaced.
  virtual WriteOutcome ReplaceFile(const std::string& path, std::string_view bytes) = 0;
};

// Where the program and the user's settings live.
class Locations {
 public:
  virtual ~Locations() = default;

  // The folder that holds the program file, as the platform reports it.
  virtual std::string ProgramFolder() = 0;

  // The per-user folder for the settings file (it may not exist yet).
  virtual std::string UserSettingsFolder() = 0;
};

class Clock {
 public:
  virtual ~Clock() = default;

  // Milliseconds on a steady clock that never goes back.
  virtual std::int64_t MonotonicMs() = 0;

  // A value from the time of day, for seeding the random generator.
  virtual std::uint64_t SeedFromTime() = 0;
};

// What the platform's version query answered.
struct VersionInfo {
  int result = 0;      // 1 when the query succeeded
  int platformId = 0;  // 1: the 9x family, 2: the NT family
};

// System services that the start-up and the end of the saver talk to.
class System {
 public:
  virtual ~System() = default;

  // Whether a top-level window with this exact title (UTF-8) exists.
  virtual bool WindowExists(const std::string& title) = 0;

  virtual VersionInfo QueryVersion() = 0;

  // Sets a system parameter (action 97: a screen saver runs when the
  // parameter is non-zero; action 17: screen saving is active).
  virtual bool SetSystemParameter(unsigned action, std::int32_t parameter) = 0;

  // Shows (true) or hides (false) the pointer; returns the new display count.
  virtual int ShowCursor(bool show) = 0;

  // The platform's dialog for changing the screen-saver password of
  // `provider`, owned by the window `parentWindow`.
  virtual void ChangePassword(const std::string& provider, std::int32_t parentWindow) = 0;
};

// A width and a height in pixels.
struct PixelSize {
  int width = 0;
  int height = 0;

  friend bool operator==(const PixelSize&, const PixelSize&) = default;
};

// How a picture is drawn on the screen, as its own size `own` decides: the
// size the whole picture is drawn at, and the rectangle of its own pixels
// that shows (the rest falls outside the screen). Made from a function that
// gives the size (and then all of the picture shows), or from one for each.
// An empty one draws every picture whole at its own size.
class DrawnSize {
 public:
  using SizeOf = std::function<PixelSize(PixelSize own)>;
  using ShownOf = std::function<Rect(PixelSize own)>;

  DrawnSize() = default;
  template <class F>
  requires std::is_convertible_v<std::invoke_result_t<F&, PixelSize>, PixelSize> DrawnSize(F size)
      : size_(std::move(size)) {}
  DrawnSize(SizeOf size, ShownOf shown) : size_(std::move(size)), shown_(std::move(shown)) {}

  // The size the whole picture is drawn at.
  PixelSize operator()(PixelSize own) const { return size_ ? size_(own) : own; }
  // The rectangle of its own pixels that shows.
  Rect Shown(PixelSize own) const {
    return shown_ ? shown_(own) : Rect{0, 0, own.width, own.height};
  }
  // False when every picture is drawn whole at its own size.
  explicit operator bool() const { return size_ || shown_; }

 private:
  SizeOf size_;
  ShownOf shown_;
};

// A decoded picture: its own size, and the pixels of the part of it that
// `part` names (in its own pixels), which are fewer where the loader decoded
// that part at a reduced size. An empty `part`: the whole picture.
struct Picture {
  Image pixels;
  PixelSize size;
  Rect part{};
};

// Decodes picture files (BMP, GIF, JPEG, WMF and whatever else the platform
// reads) into images.
class PictureLoader {
 public:
  virtual ~PictureLoader() = default;

  // The picture at its own size; nullopt when the file is missing,
  // unreadable or of a form not known.
  std::optional<Image> Load(const std::string& path) {
    std::optional<Picture> picture = Decode(path, {});
    if (!picture) return std::nullopt;
    return std::move(picture->pixels);
  }

  // The picture to be drawn at the size `drawn` gives for it: a loader may
  // decode fewer pixels than the picture has where it is drawn smaller, but
  // never fewer than drawn. Without `drawn`, at its own size. nullopt as for
  // Load.
  virtual std::optional<Picture> Decode(const std::string& path, const DrawnSize& drawn) = 0;

  // The slideshow, which must never hold up a frame, asks for its pictures
  // here: Request starts on the picture to show next, Ready tells when it is
  // decoded and Take hands it over. Take before Ready gives up on the
  // picture (nullopt, as for one that cannot be read). Prefetch names the
  // picture that will be requested next, which a loader may start decoding
  // ahead. Here the picture is decoded within Request; a loader that decodes
  // on a worker thread overrides all four.
  virtual void Request(const std::string& path, const DrawnSize& drawn) {
    requested_ = Decode(path, drawn);
  }
  virtual bool Ready() { return true; }
  virtual std::optional<Picture> Take() { return std::exchange(requested_, std::nullopt); }
  virtual void Prefetch(const std::string& /*path*/, const DrawnSize& /*drawn*/) {}

 private:
  std::optional<Picture> requested_;
};

// Windows virtual-key codes, as keys reach the core (letters and digits are
// their upper-case characters).
namespace VirtualKey {
constexpr int Back = 8;
constexpr int Tab = 9;
constexpr int Return = 13;
constexpr int Shift = 16;
constexpr int Control = 17;
constexpr int Alt = 18;
constexpr int Escape = 27;
constexpr int Space = 32;
constexpr int Left = 37;
constexpr int Up = 38;
constexpr int Right = 39;
constexpr int Down = 40;
// A key that has no code of its own (never an arrow).
constexpr int Unknown = 255;
}  // namespace VirtualKey

// Receives the user's input on the saver window.
class InputHandler {
 public:
  virtual ~InputHandler() = default;
  // Any mouse button, at (x, y) in the window.
  virtual void MouseDown(int button, int shift, float x, float y) = 0;
  virtual void MouseMove(int button, int shift, float x, float y) = 0;
  // A key, as its Windows virtual-key code (the arrows left and right are 37
  // and 39).
  virtual void KeyDown(int keyCode, int shift) = 0;
  // The window was asked to close: by the window manager, another program,
  // the session's end or a hack's host.
  virtual void CloseRequested() = 0;
};

// The saver's full-screen window and what it needs around it. The host
// makes the window, not shown yet, with its title from the start: a second
// copy of the program finds it by that title while the first picture and
// the music are still being readied.
class SaverHost {
 public:
  virtual ~SaverHost() = default;

  virtual int ScreenWidth() = 0;
  virtual int ScreenHeight() = 0;

  // Copies the visible desktop, from its top-left corner, into `into` (of
  // the screen's size). False where no snapshot can be had.
  virtual bool CaptureDesktop(Image& into) = 0;

  // Shows the borderless full-screen window.
  virtual void Show() = 0;
  // Puts the window above all others without moving or activating it.
  virtual void MakeTopMost() = 0;

  // Puts the frame on the screen: only the `changed` rectangles need to be
  // composed, the rest of the screen already shows the same pixels. The host
  // may keep composing from `frame` (to repaint an uncovered part of the
  // window) until the next Present: what it refers to must stay alive and
  // unchanged until then.
  virtual void Present(const Frame& frame, std::span<const Rect> changed) = 0;

  // Hands the input that has arrived since the last call to `handler`; the
  // handler may end the saver, after which nothing more is handed over.
  // Input that arrives after a WaitUntil that ran its full time may be left
  // from the first call after it to the next one.
  virtual void ProcessInput(InputHandler& handler) = 0;

  // Waits until the clock shows `monotonicMs` (the next frame's time),
  // while the window stays responsive: input that arrives meanwhile is kept
  // for the next ProcessInput. A request to close the window ends the wait
  // early, so that the next ProcessInput hands it over at once.
  virtual void WaitUntil(std::int64_t monotonicMs) = 0;

  // Asks for the screen-saver password: true to let the saver end, false
  // when refused, nullopt when there is no password service to ask.
  virtual std::optional<bool> VerifyPassword() = 0;

  // Takes the window down.
  virtual void Close() = 0;
};

// A media control interpreter: takes command strings such as
// "open cdaudio", "status cdaudio mode" or "play MP3Play from 0" and answers
// them as the Windows media control interface does.
class MediaControl {
 public:
  virtual ~MediaControl() = default;
  // Carries out one command; returns 0 on success, otherwise an error code.
  // `reply` receives the command's answer (empty when it has none).
  virtual int Send(const std::string& command, std::string& reply) = 0;
  // The text for an error code; nullopt when there is none.
  virtual std::optional<std::string> ErrorText(int code) = 0;
};

// The simple sound player for WAV files.
class SoundPlayer {
 public:
  virtual ~SoundPlayer() = default;
  // How many audio outputs the machine has.
  virtual int OutputDeviceCount() = 0;
  // Starts the file playing over and over in the background and returns at
  // once; whatever played before stops.
  virtual void PlayLooping(const std::string& file) = 0;
  // Stops whatever the player plays; harmless when nothing does.
  virtual void Stop() = 0;
};

// The settings dialog's controls (listed in dialog/dialog_layout.h).
enum class DialogControl : int;

// A point on the screen, in pixels.
struct ScreenPoint {
  int x = 0;
  int y = 0;
};

// What a file chooser offers: its title and one filter of name patterns
// ("*.MP3", matched without regard to letter case).
struct FileRequest {
  std::string title;
  std::string filterName;
  std::vector<std::string> patterns;
};

// The settings dialog's window, as the dialog's logic drives it. The logic
// keeps what every control shows (dialog/dialog_state.h); the window draws
// it, runs the platform's choosers and hands the user's actions back. Sizes
// and positions are in the desktop's pixels at 96 dots per inch: a display
// scaled to 2x doubles them itself.
class DialogView {
 public:
  virtual ~DialogView() = default;

  // What `control` shows (its look, text, enabled state, list entries and
  // selection, scroll position or preview picture) has changed.
  virtual void Changed(DialogControl control) = 0;

  // The primary monitor's rectangle on the desktop, which need not start
  // at the desktop's origin (another monitor may lie left of it).
  virtual Rect PrimaryMonitor() = 0;
  // Puts the window's outer frame at `frame`'s top-left corner, its client
  // area at the dialog's size. The window is not shown yet.
  virtual void Place(const Rect& frame) = 0;
  // The window's outer rectangle on the screen; an empty one at (0, 0) when
  // it cannot be had.
  virtual Rect WindowRect() = 0;
  // Where the mouse pointer is; nullopt when that cannot be had.
  virtual std::optional<ScreenPoint> PointerPosition() = 0;
  // A rectangle outline moving from `from` to `to`, as windows open and
  // close; nothing where the desktop cannot draw it.
  virtual void AnimateZoom(const Rect& from, const Rect& to) = 0;

  // The chosen folder's path; nullopt when the user cancelled or the choice
  // has no path in the file system.
  virtual std::optional<std::string> ChooseFolder(const std::string& title) = 0;
  // The chosen file's path; nullopt when the user cancelled.
  virtual std::optional<std::string> ChooseFile(const FileRequest& request) = 0;
  // Opens the address with the desktop's default handler.
  virtual void OpenLink(const std::string& address) = 0;
  // A message box with only an OK button; returns when it is closed.
  virtual void ShowMessage(const std::string& text) = 0;
  // Lets the window handle the events waiting for it (repaints, presses),
  // which may call back into the dialog.
  virtual void ProcessPendingEvents() = 0;
  // The busy pointer over the whole screen (true) or the normal one back.
  virtual void SetBusyPointer(bool busy) = 0;
  // Takes the window down; the dialog's run ends.
  virtual void Close() = 0;
};

// The services of one platform, handed to the core as a whole.
struct Platform {
  FileSystem& files;
  Locations& locations;
  Clock& clock;
  System& system;
};

}  // namespace orvel
