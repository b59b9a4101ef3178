// What the script machine asks of the movie around it: the clips of the display tree,
// their timelines and properties, and the host's services. The timeline side
// implements it; the machine itself knows only objects.
#pragma once

#include <string>

#include "player/avm1/value.h"
#include "player/swf/geometry.h"

namespace tvrl::avm1 {

class Object;

class Stage {
 public:
  virtual ~Stage() = default;

  // Clips, buttons and text fields are display objects; the parent is a clip.
  virtual Object* rootClip() = 0;
  virtual Object* parentClip(Object* clip) = 0;
  // A child by instance name, or null.
  virtual Object* childClip(Object* clip, const std::string& name) = 0;
  // The built-in properties (_x, _alpha, _name..., and a text field's text); false when
  // `name` is not one.
  virtual bool getClipProperty(Object* clip, const std::string& name, Value& out) = 0;
  virtual bool setClipProperty(Object* clip, const std::string& name, const Value& value) = 0;
  virtual std::string targetPath(Object* clip) = 0;  // "_level0.a.b"
  virtual std::string slashPath(Object* clip) = 0;   // "/a/b"

  // Frames are 0-based; a frame past the end goes to the last.
  virtual void gotoFrame(Object* clip, int frame, bool play) = 0;
  virtual bool gotoLabel(Object* clip, const std::string& label, bool play) = 0;
  virtual int labelFrame(Object* clip, const std::string& label) = 0;  // -1 when missing
  virtual void setPlaying(Object* clip, bool playing) = 0;
  virtual void stepFrame(Object* clip, int delta) = 0;
  // Runs a frame's actions now, as the Call action does.
  virtual void callFrame(Object* clip, int frame) = 0;

  virtual void removeClip(Object* clip) = 0;
  virtual Object* duplicateClip(Object* clip, const std::string& name, int depth) = 0;
  virtual Object* createEmptyClip(Object* parent, const std::string& name, int depth) = 0;
  virtual Object* attachClip(Object* parent, const std::string& exportName, const std::string& name, int depth) = 0;
  // Bounds in the coordinate space of `space` (or the clip's own when null), in pixels.
  virtual bool clipBounds(Object* clip, Object* space, double& xMin, double& yMin, double& xMax, double& yMax) = 0;
  virtual bool hitTestPoint(Object* clip, double x, double y, bool shapeFlag) = 0;
  virtual Object* createTextField(Object* parent, const std::string& name, int depth, double x, double y,
                                  double width, double height) = 0;

  // Depths as scripts count them: 0 and up for what scripts place, below 0 for the
  // timeline's objects.
  virtual bool depthOf(Object* object, int& depth) = 0;
  // Moves the object to `depth`, and what stood there to the object's old depth.
  virtual void swapDepths(Object* object, int depth) = 0;
  virtual Object* instanceAtDepth(Object* parent, int depth) = 0;
  virtual int nextHighestDepth(Object* parent) = 0;

  virtual bool colorTransform(Object* object, swf::ColorTransform& out) = 0;
  virtual void setColorTransform(Object* object, const swf::ColorTransform& cx) = 0;
  // The Stage object's size in pixels.
  virtual void stageSize(double& width, double& height) = 0;

  virtual void fsCommand(const std::string& command, const std::string& args) = 0;
  virtual void navigate(const std::string& url, const std::string& target) = 0;
  virtual void trace(const std::string& line) = 0;
  virtual void warn(const std::string& message) = 0;
  virtual double timeMs() = 0;
};

}  // namespace tvrl::avm1
