// Where a button or text field instance stands: the sprite whose list holds it and the
// display object that shows it. Scripts find names, paths and properties through it.
#pragma once

namespace tvrl::player {

class SpriteInstance;
struct DisplayObject;

class Placement {
 public:
  SpriteInstance* parent() const { return parent_; }
  DisplayObject* holder() const { return holder_; }
  void setPlace(SpriteInstance* parent, DisplayObject* holder) {
    parent_ = parent;
    holder_ = holder;
  }

 private:
  SpriteInstance* parent_ = nullptr;
  DisplayObject* holder_ = nullptr;
};

}  // namespace tvrl::player
