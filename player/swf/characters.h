// What the dictionary holds: every kind of character a movie can define.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "player/swf/geometry.h"
#include "player/swf/shape.h"

namespace tvrl::swf {

// An onClipEvent handler of a placed clip: the events it answers (ClipEvent bits) and
// its actions.
struct ClipAction {
  uint32_t events = 0;
  uint8_t keyCode = 0;  // for ClipEventKeyPress
  std::vector<uint8_t> actions;
};

enum ClipEvent : uint32_t {
  ClipEventLoad = 0x1,
  ClipEventEnterFrame = 0x2,
  ClipEventUnload = 0x4,
  ClipEventMouseMove = 0x8,
  ClipEventMouseDown = 0x10,
  ClipEventMouseUp = 0x20,
  ClipEventKeyDown = 0x40,
  ClipEventKeyUp = 0x80,
  ClipEventData = 0x100,
  ClipEventInitialize = 0x200,
  ClipEventPress = 0x400,
  ClipEventRelease = 0x800,
  ClipEventReleaseOutside = 0x1000,
  ClipEventRollOver = 0x2000,
  ClipEventRollOut = 0x4000,
  ClipEventDragOver = 0x8000,
  ClipEventDragOut = 0x10000,
  ClipEventKeyPress = 0x20000,
  ClipEventConstruct = 0x40000,
};

struct PlaceCommand {
  uint16_t depth = 0;
  bool move = false;  // modifies the object at `depth` instead of placing a new one
  std::optional<uint16_t> characterId;
  std::optional<Matrix> matrix;
  std::optional<ColorTransform> colorTransform;
  std::optional<uint16_t> ratio;
  std::optional<std::string> name;
  std::optional<uint16_t> clipDepth;
  std::vector<ClipAction> clipActions;
};

struct FrameCommand {
  enum class Kind : uint8_t { Place, Remove } kind = Kind::Place;
  PlaceCommand place;  // for Remove only `place.depth` is used
};

struct Timeline {
  std::vector<std::vector<FrameCommand>> frames;  // at least one frame once loaded
  std::map<std::string, int> labels;              // label to 0-based frame
  // DoAction bodies by 0-based frame, in file order.
  std::map<int, std::vector<std::vector<uint8_t>>> actions;
  // DoInitAction bodies by frame (root timeline only): the sprite they belong to and the actions.
  std::map<int, std::vector<std::pair<uint16_t, std::vector<uint8_t>>>> initActions;
};

enum class CharacterKind : uint8_t { Shape, MorphShape, Bitmap, Font, Text, EditText, Sprite, Button };

struct Character {
  explicit Character(CharacterKind k) : kind(k) {}
  virtual ~Character() = default;
  const CharacterKind kind;
};

struct ShapeCharacter : Character {
  ShapeCharacter() : Character(CharacterKind::Shape) {}
  Shape shape;
};

// Both ends carry the same paths and styles; drawing interpolates them by ratio.
struct MorphShapeCharacter : Character {
  MorphShapeCharacter() : Character(CharacterKind::MorphShape) {}
  Shape start;
  Shape end;
};

// Premultiplied pixels, 0xAARRGGBB (B, G, R, A in memory).
struct BitmapCharacter : Character {
  BitmapCharacter() : Character(CharacterKind::Bitmap) {}
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;
};

struct FontCharacter : Character {
  FontCharacter() : Character(CharacterKind::Font) {}
  std::string name;
  bool bold = false, italic = false;
  double emSize = 1024;  // glyph units per em: 1024, or 20480 for DefineFont3
  std::vector<Shape> glyphs;
  std::vector<uint16_t> codes;     // character code of each glyph, when known
  std::vector<double> advances;    // in glyph units, when the font has a layout
  double ascent = 0, descent = 0, leading = 0;
};

struct GlyphEntry {
  uint32_t index = 0;
  int32_t advance = 0;  // twips
};

struct TextRecord {
  uint16_t fontId = 0;
  uint16_t height = 0;  // twips
  Rgba color;
  double x = 0, y = 0;  // pen at the first glyph, twips
  std::vector<GlyphEntry> glyphs;
};

struct TextCharacter : Character {
  TextCharacter() : Character(CharacterKind::Text) {}
  Rect bounds;
  Matrix matrix;
  std::vector<TextRecord> records;
};

enum class TextAlign : uint8_t { Left = 0, Right = 1, Center = 2, Justify = 3 };

struct EditTextCharacter : Character {
  EditTextCharacter() : Character(CharacterKind::EditText) {}
  Rect bounds;
  std::optional<uint16_t> fontId;
  uint16_t fontHeight = 240;
  Rgba color;
  bool wordWrap = false, multiline = false, html = false, useOutlines = false;
  bool border = false;
  TextAlign align = TextAlign::Left;
  uint16_t leftMargin = 0, rightMargin = 0, indent = 0;
  int16_t leading = 0;
  std::string variableName;
  std::string initialText;
};

struct SpriteCharacter : Character {
  SpriteCharacter() : Character(CharacterKind::Sprite) {}
  Timeline timeline;
};

enum ButtonState : uint8_t { ButtonUp = 1, ButtonOver = 2, ButtonDown = 4, ButtonHitTest = 8 };

struct ButtonRecord {
  uint8_t states = 0;  // ButtonState bits
  uint16_t characterId = 0;
  uint16_t depth = 0;
  Matrix matrix;
  ColorTransform colorTransform;
};

// Transitions a button action answers (ButtonCondition bits; a key code in bits 9-15).
enum ButtonCondition : uint16_t {
  CondIdleToOverUp = 0x0001,       // roll over
  CondOverUpToIdle = 0x0002,       // roll out
  CondOverUpToOverDown = 0x0004,   // press
  CondOverDownToOverUp = 0x0008,   // release
  CondOverDownToOutDown = 0x0010,  // drag out
  CondOutDownToOverDown = 0x0020,  // drag over
  CondOutDownToIdle = 0x0040,      // release outside
  CondIdleToOverDown = 0x0080,     // drag over, as a menu
  CondOverDownToIdle = 0x0100,     // drag out, as a menu
};

struct ButtonAction {
  uint16_t conditions = 0;
  std::vector<uint8_t> actions;
};

struct ButtonCharacter : Character {
  ButtonCharacter() : Character(CharacterKind::Button) {}
  std::vector<ButtonRecord> records;
  std::vector<ButtonAction> actions;
  bool trackAsMenu = false;
};

}  // namespace tvrl::swf
