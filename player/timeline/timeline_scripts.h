// What the timeline tells the script side as it plays: a frame is entered, a clip is
// placed, a sprite goes away. The timeline runs no scripts itself; the listener queues
// them and runs them in Flash's order once the frame's display list is complete.
#pragma once

#include "player/swf/characters.h"
#include "player/timeline/display_list.h"

namespace tvrl::player {

class SpriteInstance;
class ButtonInstance;
class TextFieldInstance;

class TimelineScripts {
 public:
  virtual ~TimelineScripts() = default;
  // Before the frame's objects are placed.
  virtual void frameEntered(SpriteInstance& sprite, int frame) = 0;
  // A new sprite, button or text field now stands at `object` in `parent`'s list.
  virtual void objectPlaced(SpriteInstance& parent, DisplayObject& object, const swf::PlaceCommand& command) = 0;
  // An object taken off a list, handed over whole: its clips' unload handlers may still
  // want to read it before it goes.
  virtual void objectRemoved(DisplayList::node_type removed) = 0;
  virtual void spriteDestroyed(SpriteInstance& sprite) = 0;
  virtual void buttonDestroyed(ButtonInstance& button) = 0;
  virtual void textFieldDestroyed(TextFieldInstance& field) = 0;
};

}  // namespace tvrl::player
