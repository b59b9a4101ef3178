#include "tests/player/scripted_sample_movie.h"

#include "player/swf/tag_codes.h"
#include "player/writer/action_tags.h"
#include "player/writer/avm1_assembler.h"
#include "player/writer/shape_writer.h"
#include "player/writer/tag_stream.h"
#include "player/writer/tags.h"

namespace tvrl::player::test {

using namespace avm1;
using swf::writer::Assembler;
using swf::writer::PushValue;
using swf::writer::TagStream;

namespace {

swf::Shape square(int size, swf::Rgba color) {
  swf::Shape s;
  s.bounds = {0, size * 20, 0, size * 20};
  s.layers.emplace_back();
  swf::FillStyle f;
  f.color = color;
  s.layers[0].fills = {f};
  s.layers[0].paths.push_back(swf::rectanglePath(0, 0, size * 20, size * 20, 1));
  return s;
}

Assembler say(const std::string& line) { return std::move(Assembler().push({line}).op(ActionTrace)); }

}  // namespace

std::vector<uint8_t> scriptedSampleMovie(bool compressed) {
  TagStream tags;
  tags.add(swf::TagDefineShape, swf::writer::defineShape(1, square(40, {200, 200, 200, 255}), 1));
  tags.add(swf::TagDefineShape, swf::writer::defineShape(2, square(40, {0, 160, 0, 255}), 1));

  TagStream inner;
  inner.add(swf::TagPlaceObject2, swf::writer::placeObject2([] {
              swf::PlaceCommand p;
              p.characterId = 1;
              p.depth = 1;
              return p;
            }()));
  inner.add(swf::TagDoAction, say("panel frame").bytes());
  inner.showFrame();
  tags.add(swf::TagDefineSprite, swf::writer::defineSprite(3, inner));
  tags.add(swf::TagExportAssets, swf::writer::exportAssets({{"panel", 3}}));
  tags.add(swf::TagDoInitAction, swf::writer::doInitAction(3, say("panel class").bytes()));

  swf::ButtonCharacter button;
  button.records = {{swf::ButtonUp | swf::ButtonHitTest, 1, 1, {}, {}}, {swf::ButtonOver | swf::ButtonDown, 2, 1, {}, {}}};
  button.actions = {{swf::CondOverDownToOverUp, say("login pressed").getUrl("FSCommand:login", "user").bytes()},
                    {swf::CondIdleToOverUp, say("over").bytes()}};
  tags.add(swf::TagDefineButton2, swf::writer::defineButton(4, button, true));

  swf::PlaceCommand panel;
  panel.characterId = 3;
  panel.depth = 1;
  panel.matrix = swf::Matrix::translation(100 * 20, 20 * 20);
  panel.name = "placeholder";
  panel.clipActions = {{swf::ClipEventLoad, 0, say("placeholder load").bytes()},
                       {swf::ClipEventEnterFrame, 0, Assembler().push({"/:frames", "/:frames"}).op(ActionGetVariable).op(ActionIncrement).op(ActionSetVariable).bytes()}};
  tags.add(swf::TagPlaceObject3, swf::writer::placeObject2(panel, true));
  swf::PlaceCommand place;
  place.characterId = 4;
  place.depth = 2;
  place.matrix = swf::Matrix::translation(20 * 20, 20 * 20);
  tags.add(swf::TagPlaceObject2, swf::writer::placeObject2(place));
  // A field showing the frame count, in a device font: bound, not drawn.
  swf::EditTextCharacter status;
  status.bounds = {0, 100 * 20, 0, 20 * 20};
  status.variableName = "frames";
  status.initialText = "0";
  tags.add(swf::TagDefineEditText, swf::writer::defineEditText(5, status));
  swf::PlaceCommand field;
  field.characterId = 5;
  field.depth = 3;
  field.name = "status";
  tags.add(swf::TagPlaceObject2, swf::writer::placeObject2(field));

  // Frame 1: report the placeholder, hide it, define a class and a timer.
  Assembler a;
  a.constantPool({"placeholder", "_x", "_y", "_width", "_height"});
  a.push({"frames", 0}).op(ActionSetVariable);
  a.push({"FSCommand:placeholder"});
  for (int i = 1; i <= 4; ++i) {
    a.push({PushValue::constant(0)}).op(ActionGetVariable).push({PushValue::constant(static_cast<uint16_t>(i))}).op(ActionGetMember);
    if (i > 1) a.op(ActionAdd2);
    if (i < 4) a.push({","}).op(ActionAdd2);
  }
  a.getUrl2();
  a.push({PushValue::constant(0)}).op(ActionGetVariable).push({"_visible", false}).op(ActionSetMember);
  a.push({5, 1, PushValue::constant(0)}).op(ActionGetVariable).push({"swapDepths"}).op(ActionCallMethod).op(ActionPop);
  Assembler greet;
  greet.push({"hello "}).push({"name"}).op(ActionGetVariable).op(ActionAdd2).op(ActionReturn);
  a.defineFunction2("greet", 2, PreloadThis, {{0, "name"}}, greet);
  a.push({"user", 1, "greet"}).op(ActionCallFunction).op(ActionTrace);
  Assembler tick;
  tick.push({"tick"}).op(ActionTrace);
  a.push({500}).defineFunction("", {}, tick).push({2, "setInterval"}).op(ActionCallFunction).op(ActionPop);
  Assembler fail;
  fail.push({"bad"}).op(ActionThrow);
  Assembler caught;
  caught.push({PushValue::reg(1)}).op(ActionTrace);
  a.tryBlock(fail, &caught, "", nullptr, 1);
  a.push({"list", 3, 2, 1, 3}).op(ActionInitArray).op(ActionSetVariable);
  a.push({"list"}).op(ActionGetVariable).op(ActionEnumerate2);
  a.label("next").storeRegister(0).push({PushValue::null()}).op(ActionEquals2).branchIf("done").jump("next").label("done");
  tags.add(swf::TagDoAction, a.bytes());
  tags.showFrame();
  tags.add(swf::TagFrameLabel, swf::writer::frameLabel("idle"));
  Assembler idle;
  idle.op(ActionStop).push({"frames "}).push({"frames"}).op(ActionGetVariable).op(ActionAdd2).op(ActionTrace);
  idle.getUrl("http://example.com/help", "_blank");
  tags.add(swf::TagDoAction, idle.bytes());
  tags.showFrame();

  swf::writer::MovieHeader header;
  header.version = 8;
  header.frameSize = {0, 200 * 20, 0, 100 * 20};
  header.frameRate = 12;
  header.compressed = compressed;
  return swf::writer::writeMovie(header, tags);
}

}  // namespace tvrl::player::test
