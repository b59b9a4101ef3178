#include "player/script/script_engine.h"

#include <algorithm>
#include <tuple>

#include "player/timeline/text_field_instance.h"

namespace tvrl::player {

using avm1::Object;
using avm1::Value;

namespace {
constexpr size_t kCollectAbove = 20000;
}

ScriptEngine::ScriptEngine(PlayContext& context, const swf::Movie& movie)
    : context_(context), movie_(movie), vm_(std::make_unique<avm1::Vm>(movie.version, *this)) {
  emptySprite_.timeline.frames.emplace_back();
  for (const auto& [name, id] : movie.exports) exportsById_.emplace(id, name);
  context_.scripts = this;
}

ScriptEngine::~ScriptEngine() { context_.scripts = nullptr; }

void ScriptEngine::start(SpriteInstance& root) {
  root_ = &root;
  info(root);
  runQueued();
}

ScriptEngine::ClipInfo& ScriptEngine::info(SpriteInstance& sprite) {
  auto it = clips_.find(&sprite);
  if (it != clips_.end()) return it->second;
  ClipInfo& i = clips_[&sprite];
  i.object = vm_->makeDisplayObject(avm1::ObjectKind::Clip, &sprite);
  i.serial = nextSerial_++;
  return i;
}

Object* ScriptEngine::objectOf(SpriteInstance& sprite) { return info(sprite).object; }

SpriteInstance* ScriptEngine::spriteOf(Object* clip) const {
  return clip && clip->kind == avm1::ObjectKind::Clip ? static_cast<SpriteInstance*>(clip->clip) : nullptr;
}

Object* ScriptEngine::objectOf(DisplayObject& object) {
  if (object.sprite) return objectOf(*object.sprite);
  auto made = [this](auto& objects, auto* instance, avm1::ObjectKind kind) {
    Object*& o = objects[instance];
    if (!o) o = vm_->makeDisplayObject(kind, instance);
    return o;
  };
  if (object.button) return made(buttons_, object.button.get(), avm1::ObjectKind::Button);
  if (object.field) return made(fields_, object.field.get(), avm1::ObjectKind::TextField);
  return nullptr;
}

namespace {

// A button's or text field's place; clips keep theirs themselves.
const Placement* placementOf(Object* object) {
  if (!object || !object->clip) return nullptr;
  if (object->kind == avm1::ObjectKind::Button) return static_cast<ButtonInstance*>(object->clip);
  if (object->kind == avm1::ObjectKind::TextField) return static_cast<TextFieldInstance*>(object->clip);
  return nullptr;
}

}  // namespace

DisplayObject* ScriptEngine::holderOf(Object* object) const {
  if (SpriteInstance* s = spriteOf(object)) return s->holder();
  const Placement* p = placementOf(object);
  return p ? p->holder() : nullptr;
}

SpriteInstance* ScriptEngine::parentOf(Object* object) const {
  if (SpriteInstance* s = spriteOf(object)) return s->parent();
  const Placement* p = placementOf(object);
  return p ? p->parent() : nullptr;
}

Value ScriptEngine::classOf(uint16_t characterId) {
  auto [from, to] = exportsById_.equal_range(characterId);
  for (auto it = from; it != to; ++it) {
    Value c = vm_->registeredClass(it->second);
    if (c.isObject()) return c;
  }
  return Value::undefined();
}

void ScriptEngine::frameEntered(SpriteInstance& sprite, int frame) {
  const swf::Timeline& timeline = sprite.timeline();
  if (&sprite == root_ || !root_) {
    auto init = timeline.initActions.find(frame);
    if (init != timeline.initActions.end())
      for (const auto& [spriteId, code] : init->second)
        if (initialized_.insert(spriteId).second) queue(EntryKind::Init, sprite, frame, &code);
  }
  if (timeline.actions.count(frame)) queue(EntryKind::Frame, sprite, frame, nullptr);
}

void ScriptEngine::objectPlaced(SpriteInstance&, DisplayObject& object, const swf::PlaceCommand& command) {
  if (object.field) {
    fields_.emplace(object.field.get(), nullptr);
    // Bound with the next scripts: binding may run a watcher, never while lists are built.
    if (!object.field->variable().empty()) unbound_.push_back(object.field.get());
    return;
  }
  if (!object.sprite) return;
  ClipInfo& i = info(*object.sprite);
  if (!command.clipActions.empty()) i.clipActions = &command.clipActions;
  // A clip of a symbol with a registered class is an instance of it from the start; its
  // constructor runs before its load event (attachMovie runs it at once).
  Value c = classOf(object.characterId);
  if (c.isObject()) {
    Value proto = vm_->peek(c.object, "prototype");
    if (proto.isObject()) i.object->proto = proto.object;
    if (!attaching_) queue(EntryKind::Construct, *object.sprite, 0, nullptr);
  }
  queue(EntryKind::Load, *object.sprite, 0, nullptr);
}

bool ScriptEngine::hasUnloadHandler(ClipInfo& clip) {
  if (clip.clipActions)
    for (const swf::ClipAction& a : *clip.clipActions)
      if (a.events & swf::ClipEventUnload) return true;
  return vm_->peek(clip.object, "onUnload").isObject();
}

bool ScriptEngine::retire(DisplayObject& object) {
  if (!object.sprite) return false;
  SpriteInstance& sprite = *object.sprite;
  ClipInfo& i = info(sprite);
  i.removed = true;
  // What was queued for the clip no longer runs: it has left the stage.
  for (Entry& e : queue_)
    if (e.sprite == &sprite) e.sprite = nullptr;
  bool any = false;
  if (!i.unloaded && hasUnloadHandler(i)) {
    i.unloaded = true;
    queue_.push_back({EntryKind::Unload, nullptr, 0, nullptr, nextSequence_++, i.object, i.clipActions});
    any = true;
  }
  for (auto& [depth, child] : sprite.objects()) any |= retire(child);
  return any;
}

bool ScriptEngine::onStage(SpriteInstance& sprite) {
  auto it = clips_.find(&sprite);
  return it != clips_.end() && !it->second.removed;
}

void ScriptEngine::objectRemoved(DisplayList::node_type removed) {
  changed_ = true;
  // The clips keep their names, parents and properties while their unload handlers run;
  // without any, the object goes at once.
  if (retire(removed.mapped())) retired_.push_back(std::move(removed));
}

void ScriptEngine::spriteDestroyed(SpriteInstance& sprite) {
  auto it = clips_.find(&sprite);
  if (it == clips_.end()) return;
  Object* object = it->second.object;
  object->clip = nullptr;
  // A clip that went with its parent, or with a button's state, still hears its unload,
  // after the fact: what it reads of itself is gone.
  if (!it->second.unloaded && hasUnloadHandler(it->second))
    queue_.push_back({EntryKind::Unload, nullptr, 0, nullptr, nextSequence_++, object, it->second.clipActions});
  clips_.erase(it);
  for (Entry& e : queue_)
    if (e.sprite == &sprite) e.sprite = nullptr;
  if (&sprite == root_) root_ = nullptr;
  changed_ = true;
}

void ScriptEngine::buttonDestroyed(ButtonInstance& button) {
  auto it = buttons_.find(&button);
  if (it == buttons_.end()) return;
  it->second->clip = nullptr;
  buttons_.erase(it);
}

void ScriptEngine::buttonEvent(ButtonInstance& button, const char* method) {
  auto it = buttons_.find(&button);
  if (it == buttons_.end()) return;
  vm_->callMethodFromHost(it->second, method, {});
  runQueued();
}

void ScriptEngine::queue(EntryKind kind, SpriteInstance& sprite, int frame, const std::vector<uint8_t>* code) {
  info(sprite);
  queue_.push_back({kind, &sprite, frame, code, nextSequence_++});
}

void ScriptEngine::runQueued() {
  if (flushing_) return;  // scripts queued by scripts run in this same pass
  flushing_ = true;
  // What was queued while the frame's lists were built is put in Flash's order; what
  // scripts queue from here on runs after it.
  auto key = [this](const Entry& e) {
    if (!e.sprite) return std::make_tuple(e.kind == EntryKind::Unload ? 3 : 0, int64_t{0}, 0, e.sequence);
    if (e.kind == EntryKind::Init) return std::make_tuple(0, int64_t{0}, 0, e.sequence);
    // Constructors of registered classes follow the init actions that define the classes,
    // before any frame's actions use the instances.
    if (e.kind == EntryKind::Construct) return std::make_tuple(0, int64_t{1}, 0, e.sequence);
    uint64_t serial = clips_.count(e.sprite) ? clips_[e.sprite].serial : 0;
    bool madeThisFrame = serial >= frameStartSerial_;
    int64_t rank = madeThisFrame ? static_cast<int64_t>(serial) : -static_cast<int64_t>(serial);
    return std::make_tuple(madeThisFrame ? 2 : 1, rank, e.kind == EntryKind::Load ? 0 : 1, e.sequence);
  };
  std::stable_sort(queue_.begin(), queue_.end(), [&](const Entry& a, const Entry& b) { return key(a) < key(b); });
  bindNewFields();
  while (!queue_.empty()) {
    bindNewFields();
    Entry e = queue_.front();
    queue_.pop_front();
    if (e.kind == EntryKind::Unload) {
      runUnload(e);
      continue;
    }
    if (!e.sprite) continue;
    switch (e.kind) {
      case EntryKind::Init: vm_->runActions(e.code->data(), e.code->size(), objectOf(root_ ? *root_ : *e.sprite)); break;
      case EntryKind::Construct: {
        Object* object = objectOf(*e.sprite);
        Value c = e.sprite->holder() ? classOf(e.sprite->holder()->characterId) : Value::undefined();
        if (c.isObject()) vm_->callFromHost(c, Value::from(object), {});
        break;
      }
      case EntryKind::Load: clipEvent(*e.sprite, swf::ClipEventLoad, "onLoad"); break;
      case EntryKind::Frame: runFrameActions(*e.sprite, e.frame); break;
      case EntryKind::Unload: break;
    }
  }
  // Unloaded clips leave for good, and the clips inside them with them.
  std::vector<DisplayList::node_type> gone = std::move(retired_);
  retired_.clear();
  gone.clear();
  flushing_ = false;
  bindNewFields();
  syncTextFields();
  collectGarbageWhenGrown();
}

void ScriptEngine::runUnload(const Entry& e) {
  if (e.clipActions)
    for (const swf::ClipAction& a : *e.clipActions)
      if (a.events & swf::ClipEventUnload) vm_->runActions(a.actions.data(), a.actions.size(), e.object);
  vm_->callMethodFromHost(e.object, "onUnload", {});
}

void ScriptEngine::runFrameActions(SpriteInstance& sprite, int frame) {
  const swf::Timeline& timeline = sprite.timeline();
  auto it = timeline.actions.find(frame);
  if (it == timeline.actions.end()) return;
  Object* object = objectOf(sprite);
  for (const std::vector<uint8_t>& code : it->second) {
    // A block may remove its own clip; the blocks after it do not run.
    if (!onStage(sprite)) return;
    vm_->runActions(code.data(), code.size(), object);
  }
}

void ScriptEngine::runClipActions(SpriteInstance& sprite, uint32_t event, uint8_t keyCode) {
  ClipInfo& i = info(sprite);
  if (!i.clipActions) return;
  Object* object = i.object;
  for (const swf::ClipAction& a : *i.clipActions) {
    if (!(a.events & event) || !onStage(sprite)) continue;
    if (event == swf::ClipEventKeyPress && a.keyCode != keyCode) continue;
    vm_->runActions(a.actions.data(), a.actions.size(), object);
  }
}

void ScriptEngine::clipEvent(SpriteInstance& sprite, uint32_t event, const char* method) {
  Object* object = objectOf(sprite);
  runClipActions(sprite, event, 0);
  if (method && onStage(sprite)) vm_->callMethodFromHost(object, method, {});
}

void ScriptEngine::broadcastClipEvent(uint32_t event, uint8_t keyCode) {
  static const std::pair<uint32_t, const char*> methods[] = {
      {swf::ClipEventEnterFrame, "onEnterFrame"}, {swf::ClipEventMouseDown, "onMouseDown"},
      {swf::ClipEventMouseUp, "onMouseUp"},       {swf::ClipEventMouseMove, "onMouseMove"},
      {swf::ClipEventKeyDown, "onKeyDown"},       {swf::ClipEventKeyUp, "onKeyUp"}};
  const char* method = nullptr;
  for (const auto& [e, name] : methods)
    if (e == event) method = name;
  if (method && event != swf::ClipEventEnterFrame)
    vm_->broadcast(event == swf::ClipEventKeyDown || event == swf::ClipEventKeyUp ? "Key" : "Mouse", method);
  // Newest clips first, as Flash walks its execution list.
  std::vector<std::pair<uint64_t, SpriteInstance*>> order;
  for (const auto& [sprite, i] : clips_) order.emplace_back(i.serial, sprite);
  std::sort(order.rbegin(), order.rend());
  for (const auto& [serial, sprite] : order) {
    auto it = clips_.find(sprite);
    // Removed by an earlier handler, or waiting only for its unload.
    if (it == clips_.end() || it->second.serial != serial || it->second.removed) continue;
    runClipActions(*sprite, event, keyCode);
    if (method && clips_.count(sprite)) vm_->callMethodFromHost(it->second.object, method, {});
  }
  runQueued();
}

void ScriptEngine::keyEvent(int keyCode, bool down) {
  vm_->setKey(keyCode, down);
  broadcastClipEvent(down ? swf::ClipEventKeyDown : swf::ClipEventKeyUp);
  if (down && keyCode > 0 && keyCode < 256) broadcastClipEvent(swf::ClipEventKeyPress, static_cast<uint8_t>(keyCode));
}

void ScriptEngine::buttonActions(SpriteInstance& owner, const DisplayObject& button, uint16_t condition) {
  if (!button.button) return;
  Object* target = objectOf(owner);
  bool keyPress = condition >= 0x200;
  for (const swf::ButtonAction& a : button.button->character().actions) {
    bool match = keyPress ? (a.conditions >> 9) == (condition >> 9) : (a.conditions & condition) != 0;
    if (match && target->clip) vm_->runActions(a.actions.data(), a.actions.size(), target);
  }
  runQueued();
}

bool ScriptEngine::actsAsButton(SpriteInstance& sprite) {
  constexpr uint32_t kButtonEvents = swf::ClipEventPress | swf::ClipEventRelease | swf::ClipEventReleaseOutside |
                                     swf::ClipEventRollOver | swf::ClipEventRollOut | swf::ClipEventDragOver |
                                     swf::ClipEventDragOut;
  ClipInfo& i = info(sprite);
  bool handled = false;
  if (i.clipActions)
    for (const swf::ClipAction& a : *i.clipActions) handled |= (a.events & kButtonEvents) != 0;
  for (const char* name : {"onPress", "onRelease", "onReleaseOutside", "onRollOver", "onRollOut", "onDragOver", "onDragOut"}) {
    if (handled) break;
    Value handler = vm_->peek(i.object, name);
    handled = handler.isObject() && handler.object->isFunction();
  }
  return handled && vm_->toBoolean(vm_->peek(i.object, "enabled"));
}

bool ScriptEngine::buttonEnabled(ButtonInstance& button) {
  auto it = buttons_.find(&button);
  return it == buttons_.end() || vm_->toBoolean(vm_->peek(it->second, "enabled"));
}

bool ScriptEngine::showsHand(ButtonInstance* button, SpriteInstance* clip) {
  Object* object = nullptr;
  if (button) {
    auto it = buttons_.find(button);
    if (it != buttons_.end()) object = it->second;
  } else if (clip) {
    object = objectOf(*clip);
  }
  return !object || vm_->toBoolean(vm_->peek(object, "useHandCursor"));
}

bool ScriptEngine::noScaleStage() {
  Value stage = vm_->peek(vm_->global(), "Stage");
  Value mode = stage.isObject() ? vm_->peek(stage.object, "scaleMode") : Value::undefined();
  return mode.isString() && mode.string == "noScale";
}

void ScriptEngine::setViewSize(int width, int height) {
  bool resized = width != viewWidth_ || height != viewHeight_;
  viewWidth_ = width;
  viewHeight_ = height;
  if (resized && root_ && noScaleStage()) {
    vm_->broadcast("Stage", "onResize");
    runQueued();
  }
}

void ScriptEngine::stageSize(double& width, double& height) {
  const swf::Rect& r = movie_.frameSize;
  width = (r.xMax - r.xMin) / 20.0;
  height = (r.yMax - r.yMin) / 20.0;
  // In "noScale" the stage is the host's view, as big as it is.
  if (viewWidth_ > 0 && noScaleStage()) {
    width = viewWidth_;
    height = viewHeight_;
  }
}

bool ScriptEngine::advance() {
  frameStartSerial_ = nextSerial_;
  broadcastClipEvent(swf::ClipEventEnterFrame);
  frameStartSerial_ = nextSerial_;
  bool changed = root_ && root_->tick();
  runQueued();
  return takeChanged() || changed;
}

void ScriptEngine::setClock(double ms) {
  clockMs_ = ms;
  vm_->runIntervals(ms);
  runQueued();
}

bool ScriptEngine::takeChanged() {
  bool c = changed_;
  changed_ = false;
  return c;
}

void ScriptEngine::collectGarbageWhenGrown() {
  size_t size = vm_->heapSize();
  if (size < kCollectAbove || size < 2 * heapAfterCollection_) return;
  std::vector<Object*> roots;
  for (const auto& [sprite, i] : clips_) roots.push_back(i.object);
  for (const auto& [button, object] : buttons_) roots.push_back(object);
  for (const auto& [field, object] : fields_)
    if (object) roots.push_back(object);
  vm_->collectGarbage(roots);
  heapAfterCollection_ = vm_->heapSize();
}

void ScriptEngine::fsCommand(const std::string& command, const std::string& args) {
  if (host_) host_->fsCommand(command, args);
}

void ScriptEngine::navigate(const std::string& url, const std::string& target) {
  if (host_) host_->navigate(url, target);
}

void ScriptEngine::trace(const std::string& line) {
  if (host_) host_->trace(line);
}

void ScriptEngine::warn(const std::string& message) {
  if (host_) host_->warning(message);
}

}  // namespace tvrl::player
