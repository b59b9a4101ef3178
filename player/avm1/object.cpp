#include "player/avm1/object.h"

#include <algorithm>
#include <cctype>

namespace tvrl::avm1 {

std::string Object::key(const std::string& name) const {
  if (caseSensitive_) return name;
  std::string k = name;
  for (char& c : k) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return k;
}

Object::Slot* Object::find(const std::string& name) {
  auto it = index_.find(key(name));
  return it == index_.end() ? nullptr : &slots_[it->second];
}

const Object::Slot* Object::find(const std::string& name) const {
  auto it = index_.find(key(name));
  return it == index_.end() ? nullptr : &slots_[it->second];
}

void Object::set(const std::string& name, const Value& value, uint8_t flags) {
  if (Slot* s = find(name)) {
    if (!(s->flags & ReadOnly)) s->value = value;
    return;
  }
  index_.emplace(key(name), slots_.size());
  slots_.push_back({name, value, flags});
}

bool Object::remove(const std::string& name) {
  auto it = index_.find(key(name));
  if (it == index_.end() || (slots_[it->second].flags & DontDelete)) return false;
  slots_.erase(slots_.begin() + static_cast<std::ptrdiff_t>(it->second));
  reindex();
  return true;
}

void Object::reindex() {
  index_.clear();
  for (size_t i = 0; i < slots_.size(); ++i) index_.emplace(key(slots_[i].name), i);
}

Object* Heap::make(ObjectKind kind, Object* proto) {
  objects_.push_back(std::make_unique<Object>(kind, caseSensitive_));
  objects_.back()->proto = proto;
  return objects_.back().get();
}

namespace {

void mark(Object* root) {
  std::vector<Object*> pending{root};
  auto visit = [&pending](Object* o) {
    if (o && !o->marked) pending.push_back(o);
  };
  auto visitValue = [&visit](const Value& v) {
    if (v.isObject()) visit(v.object);
  };
  while (!pending.empty()) {
    Object* o = pending.back();
    pending.pop_back();
    if (!o || o->marked) continue;
    o->marked = true;
    visit(o->proto);
    visit(o->superProto);
    visitValue(o->superThis);
    visitValue(o->primitive);
    for (Object* i : o->interfaces) visit(i);
    for (const Value& v : o->elements) visitValue(v);
    for (const Object::Slot& s : o->slots()) {
      visitValue(s.value);
      visit(s.getter);
      visit(s.setter);
    }
    if (o->watchers)
      for (const auto& [name, w] : *o->watchers) {
        visitValue(w.callback);
        visitValue(w.userData);
      }
    if (o->script) {
      for (Object* s : o->script->scope) visit(s);
      visit(o->script->definingClip);
    }
  }
}

}  // namespace

void Heap::collect(const std::vector<Object*>& roots) {
  for (auto& o : objects_) o->marked = false;
  for (Object* r : roots) mark(r);
  objects_.erase(std::remove_if(objects_.begin(), objects_.end(), [](const auto& o) { return !o->marked; }),
                 objects_.end());
}

}  // namespace tvrl::avm1
