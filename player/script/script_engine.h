// Runs a movie's scripts: listens to the timeline, queues frame actions, init actions
// and clip events, and runs them in Flash Player's order once a frame's display list is
// complete. It is also the script machine's Stage: clips, their properties and the host.
//
// Order within one frame: init actions first, then the constructors of clips of
// registered classes; then the clips that already existed,
// newest first; then the clips made during the frame, in the order they were made
// (a parent's frame actions run before those of the children it placed).
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <set>
#include <unordered_map>

#include "player/avm1/vm.h"
#include "player/player_host.h"
#include "player/timeline/sprite_instance.h"
#include "player/timeline/timeline_scripts.h"

namespace tvrl::player {

// Depth 0 of a script is this depth of the file; the timeline's depths lie below it.
constexpr int kScriptDepthBase = 16384;

class ScriptEngine : public TimelineScripts, public avm1::Stage {
 public:
  ScriptEngine(PlayContext& context, const swf::Movie& movie);
  ~ScriptEngine() override;

  void setHost(PlayerHost* host) { host_ = host; }
  // The root is made after the engine; its first frame's scripts run here.
  void start(SpriteInstance& root);
  // One frame: enterFrame events, then the timeline advances, then the queued scripts.
  bool advance();
  void setClock(double ms);
  // Runs what the timeline queued (after a goto from the host, or an input event).
  void runQueued();
  // A clip with press, release or roll handlers takes the pointer as a button does,
  // unless a script set its `enabled` to false.
  bool actsAsButton(SpriteInstance& sprite);
  // A button's `enabled`, and whether a button or clip shows the hand (`useHandCursor`).
  bool buttonEnabled(ButtonInstance& button);
  bool showsHand(ButtonInstance* button, SpriteInstance* clip);
  // The host's view, which the Stage object reports in its "noScale" mode.
  void setViewSize(int width, int height);
  // Whether scripts changed anything visible since the last call.
  bool takeChanged();

  // Input reaches scripts through these.
  void setMouse(swf::Point stageTwips) { mouse_ = stageTwips; }
  void broadcastClipEvent(uint32_t event, uint8_t keyCode = 0);
  // Key state for Key.getCode and Key.isDown, then the key events of clips and listeners.
  void keyEvent(int keyCode, bool down);
  void clipEvent(SpriteInstance& sprite, uint32_t event, const char* method);
  // A key press is a condition of (key code << 9).
  void buttonActions(SpriteInstance& owner, const DisplayObject& button, uint16_t condition);
  avm1::Object* objectOf(SpriteInstance& sprite);
  // The object of a sprite, button or text field; null for other characters.
  avm1::Object* objectOf(DisplayObject& object);
  // A named button's handlers (onPress, onRelease...) set by scripts.
  void buttonEvent(ButtonInstance& button, const char* method);
  avm1::Vm& vm() { return *vm_; }

  // TimelineScripts
  void frameEntered(SpriteInstance& sprite, int frame) override;
  void objectPlaced(SpriteInstance& parent, DisplayObject& object, const swf::PlaceCommand& command) override;
  void objectRemoved(DisplayList::node_type removed) override;
  void spriteDestroyed(SpriteInstance& sprite) override;
  void buttonDestroyed(ButtonInstance& button) override;
  void textFieldDestroyed(TextFieldInstance& field) override;

  // avm1::Stage
  avm1::Object* rootClip() override;
  avm1::Object* parentClip(avm1::Object* clip) override;
  avm1::Object* childClip(avm1::Object* clip, const std::string& name) override;
  bool getClipProperty(avm1::Object* clip, const std::string& name, avm1::Value& out) override;
  bool setClipProperty(avm1::Object* clip, const std::string& name, const avm1::Value& value) override;
  std::string targetPath(avm1::Object* clip) override;
  std::string slashPath(avm1::Object* clip) override;
  void gotoFrame(avm1::Object* clip, int frame, bool play) override;
  bool gotoLabel(avm1::Object* clip, const std::string& label, bool play) override;
  int labelFrame(avm1::Object* clip, const std::string& label) override;
  void setPlaying(avm1::Object* clip, bool playing) override;
  void stepFrame(avm1::Object* clip, int delta) override;
  void callFrame(avm1::Object* clip, int frame) override;
  void removeClip(avm1::Object* clip) override;
  avm1::Object* duplicateClip(avm1::Object* clip, const std::string& name, int depth) override;
  avm1::Object* createEmptyClip(avm1::Object* parent, const std::string& name, int depth) override;
  avm1::Object* attachClip(avm1::Object* parent, const std::string& exportName, const std::string& name, int depth) override;
  bool clipBounds(avm1::Object* clip, avm1::Object* space, double& xMin, double& yMin, double& xMax, double& yMax) override;
  bool hitTestPoint(avm1::Object* clip, double x, double y, bool shapeFlag) override;
  avm1::Object* createTextField(avm1::Object* parent, const std::string& name, int depth, double x, double y,
                                double width, double height) override;
  bool depthOf(avm1::Object* object, int& depth) override;
  void swapDepths(avm1::Object* object, int depth) override;
  avm1::Object* instanceAtDepth(avm1::Object* parent, int depth) override;
  int nextHighestDepth(avm1::Object* parent) override;
  bool colorTransform(avm1::Object* object, swf::ColorTransform& out) override;
  void setColorTransform(avm1::Object* object, const swf::ColorTransform& cx) override;
  void stageSize(double& width, double& height) override;
  void fsCommand(const std::string& command, const std::string& args) override;
  void navigate(const std::string& url, const std::string& target) override;
  void trace(const std::string& line) override;
  void warn(const std::string& message) override;
  double timeMs() override { return clockMs_; }

 private:
  struct ClipInfo {
    avm1::Object* object = nullptr;
    const std::vector<swf::ClipAction>* clipActions = nullptr;
    uint64_t serial = 0;
    bool removed = false;   // off the stage, kept only for its unload handlers
    bool unloaded = false;  // its unload handlers are queued or done
  };
  // Construct: the constructor of the class registered for the clip's symbol.
  enum class EntryKind : uint8_t { Init, Construct, Load, Frame, Unload };
  struct Entry {
    EntryKind kind;
    SpriteInstance* sprite;  // null once the sprite is gone
    int frame = 0;
    const std::vector<uint8_t>* code = nullptr;
    uint64_t sequence = 0;
    // Unload runs after its sprite is gone, on the clip's object and actions.
    avm1::Object* object = nullptr;
    const std::vector<swf::ClipAction>* clipActions = nullptr;
  };

  ClipInfo& info(SpriteInstance& sprite);
  SpriteInstance* spriteOf(avm1::Object* clip) const;
  // Where a clip, button or text field stands, and the sprite whose list holds it; null
  // for the root or once it is gone.
  DisplayObject* holderOf(avm1::Object* object) const;
  SpriteInstance* parentOf(avm1::Object* object) const;
  std::vector<std::string> pathOf(avm1::Object* object);
  bool noScaleStage();
  // The class registered for a sprite's symbol, or undefined.
  avm1::Value classOf(uint16_t characterId);

  // Text fields: their own properties, and the variable each may show.
  bool getFieldProperty(TextFieldInstance& field, const std::string& name, avm1::Value& out);
  bool setFieldProperty(TextFieldInstance& field, const std::string& name, const avm1::Value& value);
  void resizeField(TextFieldInstance& field, bool width, double twips);
  // A new field shows its variable, or gives the variable its text when it has none.
  void bindField(TextFieldInstance& field);
  void bindNewFields();
  // After scripts: every bound field shows its variable's value.
  void syncTextFields();
  void queue(EntryKind kind, SpriteInstance& sprite, int frame, const std::vector<uint8_t>* code);
  void runFrameActions(SpriteInstance& sprite, int frame);
  void runUnload(const Entry& e);
  bool hasUnloadHandler(ClipInfo& clip);
  bool onStage(SpriteInstance& sprite);
  // Marks a removed subtree's clips and queues their unload handlers; true when any has one.
  bool retire(DisplayObject& object);
  void runClipActions(SpriteInstance& sprite, uint32_t event, uint8_t keyCode);
  void collectGarbageWhenGrown();
  avm1::Object* placeByScript(avm1::Object* parent, const swf::Character* character, uint16_t id,
                              const std::string& name, int depth, const swf::PlaceCommand* like);
  bool sameName(const std::string& a, const std::string& b) const;

  PlayContext& context_;
  const swf::Movie& movie_;
  std::unique_ptr<avm1::Vm> vm_;
  PlayerHost* host_ = nullptr;
  SpriteInstance* root_ = nullptr;
  std::unordered_map<SpriteInstance*, ClipInfo> clips_;
  std::unordered_map<ButtonInstance*, avm1::Object*> buttons_;  // made when a script first names one
  std::unordered_map<TextFieldInstance*, avm1::Object*> fields_;  // every field; objects made as for buttons
  std::vector<TextFieldInstance*> unbound_;  // placed with a variable, not yet bound
  // createTextField's characters, each kept while its field lives.
  std::unordered_map<const swf::EditTextCharacter*, std::unique_ptr<swf::EditTextCharacter>> madeFields_;
  std::multimap<uint16_t, std::string> exportsById_;
  bool attaching_ = false;  // attachMovie runs the constructor itself
  int viewWidth_ = 0, viewHeight_ = 0;
  std::deque<Entry> queue_;
  // Objects taken off the stage whose clips' unload handlers have yet to run.
  std::vector<DisplayList::node_type> retired_;
  std::set<uint16_t> initialized_;  // sprites whose init actions ran
  swf::SpriteCharacter emptySprite_;
  uint64_t nextSerial_ = 1;
  uint64_t frameStartSerial_ = 0;
  uint64_t nextSequence_ = 0;
  bool flushing_ = false;
  bool changed_ = false;
  double clockMs_ = 0;
  swf::Point mouse_;
  size_t heapAfterCollection_ = 0;
};

}  // namespace tvrl::player
