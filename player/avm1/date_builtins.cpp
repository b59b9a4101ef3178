// The Date class: a time in milliseconds since 1970 (UTC), read and set in local time or
// UTC. The calendar follows the ECMAScript rules Flash uses; the time zone and its
// daylight saving come from the C library.
#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>

#include "player/avm1/builtin_support.h"

namespace tvrl::avm1 {

namespace {

constexpr double kMsPerDay = 86400000;
constexpr double kMaxTime = 8.64e15;

double day(double t) { return std::floor(t / kMsPerDay); }
double timeWithinDay(double t) { return t - day(t) * kMsPerDay; }
double daysInYear(double y) {
  return std::fmod(y, 4) != 0 ? 365 : std::fmod(y, 100) != 0 ? 366 : std::fmod(y, 400) != 0 ? 365 : 366;
}
double dayFromYear(double y) {
  return 365 * (y - 1970) + std::floor((y - 1969) / 4) - std::floor((y - 1901) / 100) + std::floor((y - 1601) / 400);
}
double yearFromTime(double t) {
  double y = std::floor(t / (kMsPerDay * 365.2425)) + 1970;
  while (dayFromYear(y) * kMsPerDay > t) --y;
  while (dayFromYear(y + 1) * kMsPerDay <= t) ++y;
  return y;
}
// The first day of each month in a common year.
const int kMonthStart[] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334, 365};
double monthStart(int month, double year) { return kMonthStart[month] + (month >= 2 && daysInYear(year) == 366); }

// A time broken into year, month (0-based), date, hours, minutes, seconds, milliseconds.
struct Fields {
  double f[7];
};

Fields split(double t) {
  Fields out;
  double y = yearFromTime(t);
  double inYear = day(t) - dayFromYear(y);
  int m = 0;
  while (m < 11 && inYear >= monthStart(m + 1, y)) ++m;
  double ms = timeWithinDay(t);
  out.f[0] = y;
  out.f[1] = m;
  out.f[2] = inYear - monthStart(m, y) + 1;
  out.f[3] = std::floor(ms / 3600000);
  out.f[4] = std::fmod(std::floor(ms / 60000), 60);
  out.f[5] = std::fmod(std::floor(ms / 1000), 60);
  out.f[6] = std::fmod(ms, 1000);
  return out;
}

double makeDay(double year, double month, double date) {
  if (!std::isfinite(year) || !std::isfinite(month) || !std::isfinite(date)) return NAN;
  double y = std::trunc(year) + std::floor(std::trunc(month) / 12);
  if (std::fabs(y) > 400000) return NAN;
  int m = static_cast<int>(std::fmod(std::fmod(std::trunc(month), 12) + 12, 12));
  return dayFromYear(y) + monthStart(m, y) + std::trunc(date) - 1;
}

double join(const Fields& x) {
  for (double v : x.f)
    if (!std::isfinite(v)) return NAN;
  double time = std::trunc(x.f[3]) * 3600000 + std::trunc(x.f[4]) * 60000 + std::trunc(x.f[5]) * 1000 + std::trunc(x.f[6]);
  return makeDay(x.f[0], x.f[1], x.f[2]) * kMsPerDay + time;
}

double timeClip(double t) { return std::isfinite(t) && std::fabs(t) <= kMaxTime ? std::trunc(t) + 0.0 : NAN; }

// The local time zone's offset from UTC at a UTC time, daylight saving included.
double localOffset(double utc) {
  if (!std::isfinite(utc)) return 0;
  // Some C libraries know no times before 1970; earlier ones take its offset.
  std::time_t seconds = static_cast<std::time_t>(std::fmax(0.0, std::fmin(std::floor(utc / 1000), 2147483647.0)));
  std::tm* local = std::localtime(&seconds);
  if (!local) return 0;
  Fields f{{local->tm_year + 1900.0, double(local->tm_mon), double(local->tm_mday), double(local->tm_hour),
            double(local->tm_min), double(local->tm_sec), 0}};
  return join(f) - static_cast<double>(seconds) * 1000;
}

double toLocal(double utc) { return utc + localOffset(utc); }
double toUtc(double local) { return local - localOffset(local - localOffset(local)); }

double nowMs() {
  using namespace std::chrono;
  return static_cast<double>(duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count());
}

double timeOf(const Value& t) {
  return t.isObject() && t.object->kind == ObjectKind::Date && t.object->primitive.isNumber() ? t.object->primitive.number
                                                                                             : NAN;
}

Value setTime(const Value& t, double time) {
  time = timeClip(time);
  if (t.isObject() && t.object->kind == ObjectKind::Date) t.object->primitive = Value::from(time);
  return Value::from(time);
}

// Two-digit years mean the 1900s, as Date(y, m...) and Date.UTC read them.
double fullYear(double y) { return std::isfinite(y) && std::trunc(y) >= 0 && std::trunc(y) <= 99 ? 1900 + std::trunc(y) : y; }

// Fields from arguments: year, month and the rest, missing ones as `defaults`.
double timeFromArgs(Vm& v, const Args& args, bool local) {
  Fields f{{0, 0, 1, 0, 0, 0, 0}};
  for (size_t i = 0; i < 7 && i < args.size(); ++i) f.f[i] = v.toNumber(args[i]);
  f.f[0] = fullYear(f.f[0]);
  double t = join(f);
  return timeClip(local ? toUtc(t) : t);
}

std::string format(double t) {
  if (std::isnan(t)) return "Invalid Date";
  static const char* const days[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  static const char* const months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                       "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  double offset = localOffset(t);
  double local = t + offset;
  Fields f = split(local);
  int weekday = static_cast<int>(std::fmod(std::fmod(day(local) + 4, 7) + 7, 7));
  int minutes = static_cast<int>(std::lround(offset / 60000));
  char buffer[96];
  std::snprintf(buffer, sizeof buffer, "%s %s %d %02d:%02d:%02d GMT%c%02d%02d %.0f", days[weekday],
                months[static_cast<int>(f.f[1])], static_cast<int>(f.f[2]), static_cast<int>(f.f[3]),
                static_cast<int>(f.f[4]), static_cast<int>(f.f[5]), minutes < 0 ? '-' : '+', std::abs(minutes) / 60,
                std::abs(minutes) % 60, f.f[0]);
  return buffer;
}

void installAccessors(Vm& vm, Object* proto) {
  // getX/setX and getUTCX/setUTCX by field: the first field a setter sets, and how many.
  static const struct {
    const char* name;
    int field;
    int count;
  } parts[] = {{"FullYear", 0, 3}, {"Month", 1, 2},   {"Date", 2, 1},        {"Hours", 3, 4},
               {"Minutes", 4, 3},  {"Seconds", 5, 2}, {"Milliseconds", 6, 1}};
  for (bool utc : {false, true}) {
    for (const auto& p : parts) {
      std::string suffix = (utc ? "UTC" : "") + std::string(p.name);
      int field = p.field, count = p.count;
      method(vm, proto, ("get" + suffix).c_str(), [utc, field](Vm&, const Value& t, Args&) {
        double time = timeOf(t);
        if (std::isnan(time)) return Value::from(NAN);
        return Value::from(split(utc ? time : toLocal(time)).f[field]);
      });
      method(vm, proto, ("set" + suffix).c_str(), [utc, field, count](Vm& v, const Value& t, Args& args) {
        double time = timeOf(t);
        // Setting the year of an invalid date starts from 1970; anything else stays invalid.
        if (std::isnan(time) && field == 0) time = 0;
        if (std::isnan(time) || args.empty()) return setTime(t, NAN);
        Fields f = split(utc ? time : toLocal(time));
        for (int i = 0; i < count && i < static_cast<int>(args.size()); ++i) f.f[field + i] = v.toNumber(args[i]);
        double joined = join(f);
        return setTime(t, utc ? joined : toUtc(joined));
      });
    }
    method(vm, proto, utc ? "getUTCDay" : "getDay", [utc](Vm&, const Value& t, Args&) {
      double time = timeOf(t);
      if (std::isnan(time)) return Value::from(NAN);
      return Value::from(std::fmod(std::fmod(day(utc ? time : toLocal(time)) + 4, 7) + 7, 7));
    });
  }
  method(vm, proto, "getYear", [](Vm&, const Value& t, Args&) {
    double time = timeOf(t);
    return Value::from(std::isnan(time) ? NAN : split(toLocal(time)).f[0] - 1900);
  });
  method(vm, proto, "setYear", [](Vm& v, const Value& t, Args& args) {
    double time = timeOf(t);
    Fields f = split(toLocal(std::isnan(time) ? 0 : time));
    f.f[0] = fullYear(v.toNumber(arg(args, 0)));
    return setTime(t, toUtc(join(f)));
  });
}

}  // namespace

void installDate(Vm& vm) {
  Object* proto = vm.makeObject();
  // new Date(), new Date(ms), or new Date(year, month[, date, hours, minutes, seconds, ms])
  // in local time; called without `new` it gives the time now as text.
  Object* ctor = makeClass(vm, proto, "Date", [proto](Vm& v, const Value& t, Args& args) {
    double time = args.empty() ? nowMs() : args.size() == 1 ? timeClip(v.toNumber(args[0])) : timeFromArgs(v, args, true);
    bool constructing = t.isObject() && t.object->kind == ObjectKind::Plain && t.object->find("__constructor__");
    if (!constructing) return Value::from(format(nowMs()));
    Object* date = v.make(ObjectKind::Date, t.object->proto ? t.object->proto : proto);
    date->primitive = Value::from(std::trunc(time) + 0.0);
    date->set("__constructor__", v.getMember(t, "__constructor__"), DontEnum);
    return Value::from(date);
  });
  method(vm, ctor, "UTC", [](Vm& v, const Value&, Args& args) { return Value::from(timeFromArgs(v, args, false)); });
  auto time = [](Vm&, const Value& t, Args&) { return Value::from(timeOf(t)); };
  method(vm, proto, "getTime", time);
  method(vm, proto, "valueOf", time);
  method(vm, proto, "setTime", [](Vm& v, const Value& t, Args& args) { return setTime(t, v.toNumber(arg(args, 0))); });
  method(vm, proto, "getTimezoneOffset", [](Vm&, const Value& t, Args&) {
    double time = timeOf(t);
    return Value::from(std::isnan(time) ? NAN : -localOffset(time) / 60000);
  });
  method(vm, proto, "toString", [](Vm&, const Value& t, Args&) { return Value::from(format(timeOf(t))); });
  installAccessors(vm, proto);
}

}  // namespace tvrl::avm1
