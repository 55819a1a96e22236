#include "scene.h"

#include <math.h>
#include <string.h>

namespace {

const float kPi = 3.14159265f;
const uint32_t kDayMs = 480000;  // one full day in eight minutes
const uint32_t kStartMs = 52000; // open at dawn, some fifteen seconds before sunrise
const float kHorizon = 0.62f;    // share of the height taken by the sky

// Falloff tables indexed by a squared distance times 64, up to 16 (index 1024);
// values are 0..256. Building them once keeps pow/exp out of the pixel loops.
const int kTableMax = 1024;
uint16_t gGlowTable[kTableMax + 1];  // broad halo: 1/(1+q), eased to 0 at the end
uint16_t gPathTable[kTableMax + 1];  // the sun's path across the water: exp(-q)

void BuildTables() {
    for (int i = 0; i <= kTableMax; ++i) {
        float q = i / 64.0f;
        float glow = (1.0f / (1.0f + q) - 1.0f / 17.0f) * (17.0f / 16.0f);
        gGlowTable[i] = uint16_t(glow * 256.0f + 0.5f);
        gPathTable[i] = uint16_t(expf(-q) * 256.0f + 0.5f);
    }
}

int TableIndex(float q) { return q < float(kTableMax) ? int(q) : kTableMax; }

// 4x4 ordered dither, added below the 8 fractional bits: smooth skies show no bands.
const uint8_t kBayer[16] = {0, 8, 2, 10, 12, 4, 14, 6, 3, 11, 1, 9, 15, 7, 13, 5};

float Clamp01(float v) { return v < 0.0f ? 0.0f : (v > 1.0f ? 1.0f : v); }

int ClampByte(int v) { return v < 0 ? 0 : (v > 255 ? 255 : v); }

// Components in 8.8 fixed point.
uint32_t Pack88(int r, int g, int b) {
    return uint32_t(ClampByte(r >> 8) << 16 | ClampByte(g >> 8) << 8 | ClampByte(b >> 8));
}

void AddPixel(uint32_t& p, int r, int g, int b) {
    int pr = int(p >> 16 & 255) + r;
    int pg = int(p >> 8 & 255) + g;
    int pb = int(p & 255) + b;
    p = uint32_t(ClampByte(pr) << 16 | ClampByte(pg) << 8 | ClampByte(pb));
}

// Moves p towards (r,g,b) by a (0..256).
void BlendPixel(uint32_t& p, int r, int g, int b, int a) {
    int pr = int(p >> 16 & 255), pg = int(p >> 8 & 255), pb = int(p & 255);
    pr += (r - pr) * a >> 8;
    pg += (g - pg) * a >> 8;
    pb += (b - pb) * a >> 8;
    p = uint32_t(pr << 16 | pg << 8 | pb);
}

uint32_t Hash(uint32_t x) {
    x ^= x >> 16;
    x *= 0x7feb352dU;
    x ^= x >> 15;
    x *= 0x846ca68bU;
    x ^= x >> 16;
    return x;
}

// A tiny generator for the fixed layout of stars and clouds, so that every
// repaint puts them in the same places whatever the buffer size.
struct Layout {
    uint32_t state;
    explicit Layout(uint32_t seed) : state(seed) {}
    float Next() {
        state = state * 1664525U + 1013904223U;
        return float(state >> 8) / 16777216.0f;
    }
};

}  // namespace

Scene::Scene()
    : width_(0), height_(0), horizon_(0), seed_(0x2545f491U), ms_(0), seconds_(0), sunX_(0), sunY_(0),
      sunRadius_(2), glintCount_(0), moteCount_(0), dirtyCount_(0) {
    if (gGlowTable[0] == 0) BuildTables();
    light_ = LightAt(0.0f);
}

Scene::Light Scene::LightAt(float e) {
    // Key moments of the day by sun elevation (below 0 the sun is under the horizon):
    // night, blue hour, dawn, sunrise, golden hour, day. Columns as in Light:
    // elevation, zenith, horizon, glow, glow amount, sun, path, cloud, stars, motes.
    static const Light kKeys[] = {
        {-0.20f, {7, 10, 28}, {16, 22, 52}, {60, 40, 80}, 0.0f, {255, 120, 60}, 0.0f, {20, 22, 40}, 1.0f, 0.9f},
        {-0.12f, {14, 19, 54}, {58, 48, 98}, {150, 70, 90}, 0.30f, {255, 120, 60}, 0.0f, {48, 40, 70}, 0.8f, 0.8f},
        {-0.05f, {24, 34, 86}, {205, 112, 100}, {255, 120, 70}, 0.55f, {255, 170, 100}, 0.0f, {190, 105, 115}, 0.15f, 0.6f},
        {0.03f, {40, 62, 130}, {255, 150, 90}, {255, 110, 40}, 0.60f, {255, 232, 170}, 0.9f, {250, 150, 120}, 0.0f, 0.5f},
        {0.25f, {56, 104, 180}, {250, 190, 150}, {255, 180, 110}, 0.30f, {255, 248, 228}, 0.9f, {255, 225, 205}, 0.0f, 0.35f},
        {0.65f, {46, 112, 200}, {165, 205, 235}, {255, 245, 210}, 0.24f, {255, 255, 252}, 0.7f, {250, 250, 255}, 0.0f, 0.25f},
    };
    const int n = sizeof(kKeys) / sizeof(kKeys[0]);
    if (e <= kKeys[0].elevation) return kKeys[0];
    if (e >= kKeys[n - 1].elevation) return kKeys[n - 1];
    int i = 1;
    while (kKeys[i].elevation < e) ++i;
    const Light& a = kKeys[i - 1];
    const Light& b = kKeys[i];
    float t = (e - a.elevation) / (b.elevation - a.elevation);
    t = t * t * (3 - 2 * t);  // ease, so the colours do not change pace at a key
    struct Mix {
        float t;
        float F(float x, float y) const { return x + (y - x) * t; }
        Color C(const Color& x, const Color& y) const { return {F(x.r, y.r), F(x.g, y.g), F(x.b, y.b)}; }
    } m = {t};
    Light l;
    l.elevation = e;
    l.zenith = m.C(a.zenith, b.zenith);
    l.horizon = m.C(a.horizon, b.horizon);
    l.glow = m.C(a.glow, b.glow);
    l.glowAmount = m.F(a.glowAmount, b.glowAmount);
    l.sun = m.C(a.sun, b.sun);
    l.pathAmount = m.F(a.pathAmount, b.pathAmount);
    l.cloud = m.C(a.cloud, b.cloud);
    l.stars = m.F(a.stars, b.stars);
    l.motes = m.F(a.motes, b.motes);
    return l;
}

float Scene::Random() {
    seed_ ^= seed_ << 13;
    seed_ ^= seed_ >> 17;
    seed_ ^= seed_ << 5;
    return float(seed_ >> 8) / 16777216.0f;
}

void Scene::Resize(int width, int height) {
    width_ = width > 0 ? width : 0;
    height_ = height > 0 ? height : 0;
    horizon_ = int(height_ * kHorizon + 0.5f);
    if (horizon_ >= height_) horizon_ = height_ - 1;
    if (horizon_ < 1) horizon_ = 1;
    sunRadius_ = height_ * 0.042f;
    if (sunRadius_ < 2.0f) sunRadius_ = 2.0f;
    SetTime(ms_);  // the sun's place in pixels, which the glints are spawned around

    // Fewer specks on small screens, so a preview is not cluttered.
    int area = width_ * height_;
    glintCount_ = area / 9000;
    glintCount_ = glintCount_ < 6 ? 6 : (glintCount_ > kMaxGlints ? kMaxGlints : glintCount_);
    moteCount_ = area / 30000;
    moteCount_ = moteCount_ < 3 ? 3 : (moteCount_ > kMaxMotes ? kMaxMotes : moteCount_);
    for (int i = 0; i < glintCount_; ++i) {
        SpawnGlint(glints_[i]);
        glints_[i].age = Random() * glints_[i].life;  // not all flashing in step
    }
    for (int i = 0; i < moteCount_; ++i) SpawnMote(motes_[i], true);
    dirtyCount_ = 0;  // the old rectangles belong to the old size
}

void Scene::SetTime(uint32_t ms) {
    ms_ = ms;
    seconds_ = float(ms % 86400000U) / 1000.0f;
    float angle = 2.0f * kPi * float((ms + kStartMs) % kDayMs) / float(kDayMs);
    // The sun goes round a tilted circle: up on the left, down on the right,
    // and only briefly deep below the horizon.
    float elevation = 0.35f - 0.55f * cosf(angle);
    sunX_ = width_ * (0.5f - 0.34f * sinf(angle));
    sunY_ = horizon_ - elevation * horizon_ * 0.9f;
    light_ = LightAt(elevation);
    // The water mirrors the disc only once its rim has cleared the horizon.
    light_.pathAmount *= Clamp01((horizon_ - (sunY_ - sunRadius_)) / (2.0f * sunRadius_));
}

float Scene::PathHalfWidth(float depth) const {
    return sunRadius_ * (1.0f + 9.0f * depth);  // wider towards the viewer
}

void Scene::SpawnGlint(Glint& g) {
    float depth = powf(Random(), 1.4f);  // more of them far off, where the path is narrow
    float spread = Random() + Random() + Random() - 1.5f;  // bunched in the middle
    float unit = height_ / 768.0f;
    g.y = horizon_ + 1 + depth * (height_ - horizon_ - 2);
    g.x = sunX_ + spread * 1.3f * PathHalfWidth(depth);
    g.length = (1.5f + 10.0f * depth) * unit + 1.0f;
    g.life = 0.5f + Random();
    g.age = 0;
}

void Scene::SpawnMote(Mote& m, bool anywhere) {
    float unit = height_ / 768.0f;
    m.x = Random() * width_;
    m.y = anywhere ? Random() * height_ : height_ * (0.4f + 0.6f * Random());
    m.speed = (8.0f + 14.0f * Random()) * unit;
    m.radius = (1.0f + 2.5f * Random()) * unit;
    if (m.radius < 0.7f) m.radius = 0.7f;
    m.phase = Random() * 2.0f * kPi;
    m.life = 8.0f + 12.0f * Random();
    m.age = anywhere ? Random() * m.life : 0.0f;
    m.brightness = 0.4f + 0.6f * Random();
}

void Scene::Advance(float dt) {
    for (int i = 0; i < glintCount_; ++i) {
        Glint& g = glints_[i];
        g.age += dt;
        if (g.age >= g.life) SpawnGlint(g);
    }
    float unit = height_ / 768.0f;
    for (int i = 0; i < moteCount_; ++i) {
        Mote& m = motes_[i];
        m.age += dt;
        m.y -= m.speed * dt;
        m.x += sinf(m.age * 0.6f + m.phase) * 6.0f * unit * dt;  // a lazy sway
        if (m.age >= m.life || m.y < -m.radius) SpawnMote(m, false);
    }
}

void Scene::PaintBackground(uint32_t* bg) const {
    if (width_ <= 0 || height_ <= 0) return;
    PaintSky(bg);
    PaintStars(bg);
    PaintClouds(bg);
    PaintSea(bg);
}

void Scene::PaintSky(uint32_t* bg) const {
    const Light& l = light_;
    // The dawn glow spreads along the horizon more than upwards.
    float glowRadius = height_ * 0.24f;
    float kx = 0.55f / glowRadius * 8.0f;  // times 8: squared, that is the table's 64
    float ky = 1.0f / glowRadius * 8.0f;
    int gr = int(l.glow.r * l.glowAmount * 256), gg = int(l.glow.g * l.glowAmount * 256),
        gb = int(l.glow.b * l.glowAmount * 256);
    for (int y = 0; y < horizon_; ++y) {
        float v = (y + 0.5f) / horizon_;
        float k = v * v;  // keep the warm band low
        int r = int((l.zenith.r + (l.horizon.r - l.zenith.r) * k) * 256);
        int g = int((l.zenith.g + (l.horizon.g - l.zenith.g) * k) * 256);
        int b = int((l.zenith.b + (l.horizon.b - l.zenith.b) * k) * 256);
        float dy = (y + 0.5f - sunY_) * ky;
        float dy2 = dy * dy;
        uint32_t* row = bg + y * width_;
        const uint8_t* bayer = kBayer + (y & 3) * 4;
        float dx = (0.5f - sunX_) * kx;
        for (int x = 0; x < width_; ++x, dx += kx) {
            int f = dy2 < kTableMax ? gGlowTable[TableIndex(dx * dx + dy2)] : 0;
            int d = bayer[x & 3] * 16 + 8;
            row[x] = Pack88(r + (gr * f >> 8) + d, g + (gg * f >> 8) + d, b + (gb * f >> 8) + d);
        }
    }
}

void Scene::PaintSea(uint32_t* bg) const {
    const Light& l = light_;
    Color nearC = {l.horizon.r * 0.5f + l.zenith.r * 0.2f, l.horizon.g * 0.5f + l.zenith.g * 0.2f,
                   l.horizon.b * 0.5f + l.zenith.b * 0.25f + 6};
    Color farC = {l.zenith.r * 0.3f + 2, l.zenith.g * 0.35f + 5, l.zenith.b * 0.4f + 9};
    float glowRadius = height_ * 0.24f;
    float kx = 0.55f / glowRadius * 8.0f, ky = 1.0f / glowRadius * 8.0f;
    // The water gives back about half of the sky's glow, seen in the mirror.
    int gr = int(l.glow.r * l.glowAmount * 128), gg = int(l.glow.g * l.glowAmount * 128),
        gb = int(l.glow.b * l.glowAmount * 128);
    Color pathC = {l.glow.r * 0.4f + l.sun.r * 0.6f, l.glow.g * 0.4f + l.sun.g * 0.6f,
                   l.glow.b * 0.4f + l.sun.b * 0.6f};
    int seaRows = height_ - horizon_;
    for (int y = horizon_; y < height_; ++y) {
        float depth = (y + 0.5f - horizon_) / seaRows;  // 0 at the horizon, 1 at the bottom
        // Swell: faint bands that crowd together towards the horizon, faded
        // out where they would be finer than a row.
        float swell = 0.6f * sinf(9.0f / (depth + 0.03f)) + 0.4f * sinf(23.0f / (depth + 0.05f) + 1.3f);
        float shade = 1.0f + 0.04f * swell * Clamp01(depth * 8.0f);
        float k = sqrtf(depth);
        int r = int((nearC.r + (farC.r - nearC.r) * k) * shade * 256);
        int g = int((nearC.g + (farC.g - nearC.g) * k) * shade * 256);
        int b = int((nearC.b + (farC.b - nearC.b) * k) * shade * 256);
        float dy = (2.0f * horizon_ - y - 0.5f - sunY_) * ky;
        float dy2 = dy * dy;

        // Ripples: short dashes of random brightness, longer towards the viewer.
        // They give the water its grain and break up the sun's path.
        int ripple = 2 + int(depth * height_ / 40.0f);
        int run = int(Hash(uint32_t(y)) % uint32_t(ripple));  // dashes do not line up
        uint32_t cell = uint32_t(y) * 104729U;
        int grain = int(8.0f + 10.0f * Clamp01(depth * 4.0f));  // up to about 7% either way

        // The sun's path: brightest far off when the sun is low, wider near by.
        float pathHalf = PathHalfWidth(depth);
        float pathK = 8.0f / pathHalf;
        float strength = l.pathAmount * (0.35f + 0.65f * (1.0f - depth) * (1.0f - depth));
        int pr = int(pathC.r * strength * 256), pg = int(pathC.g * strength * 256),
            pb = int(pathC.b * strength * 256);
        int px0 = int(sunX_ - 4.0f * pathHalf), px1 = int(sunX_ + 4.0f * pathHalf) + 1;
        if (strength <= 0.0f) px0 = px1 = 0;

        uint32_t* row = bg + y * width_;
        const uint8_t* bayer = kBayer + (y & 3) * 4;
        float dx = (0.5f - sunX_) * kx;
        int h = int(Hash(cell) & 255);
        for (int x = 0; x < width_; ++x, dx += kx) {
            if (++run >= ripple) {
                run = 0;
                h = int(Hash(++cell) & 255);
            }
            int f = dy2 < kTableMax ? gGlowTable[TableIndex(dx * dx + dy2)] : 0;
            int d = bayer[x & 3] * 16 + 8;
            int t = (h - 128) * grain;
            int cr = r + ((r >> 8) * t >> 8) + (gr * f >> 8) + d;
            int cg = g + ((g >> 8) * t >> 8) + (gg * f >> 8) + d;
            int cb = b + ((b >> 8) * t >> 8) + (gb * f >> 8) + d;
            if (x >= px0 && x < px1) {
                float u = (x + 0.5f - sunX_) * pathK;
                int p = gPathTable[TableIndex(u * u)];
                p = p * (40 + (h * h >> 8) * 216 / 255) >> 8;  // mostly dark, some bright
                cr += pr * p >> 8;
                cg += pg * p >> 8;
                cb += pb * p >> 8;
            }
            row[x] = Pack88(cr, cg, cb);
        }
    }
}

void Scene::PaintStars(uint32_t* bg) const {
    if (light_.stars <= 0.01f) return;
    int count = width_ * height_ / 2500;
    count = count < 12 ? 12 : (count > 700 ? 700 : count);
    bool large = height_ >= 400;
    Layout layout(0x51a7u);
    for (int i = 0; i < count; ++i) {
        float fx = layout.Next(), fy = layout.Next(), fb = layout.Next(), ft = layout.Next();
        int x = int(fx * width_);
        int y = int(fy * sqrtf(fy) * horizon_ * 0.92f);  // denser up high
        // Mostly faint, a few bright; haze dims them near the horizon; a slow twinkle.
        float b = (50.0f + 205.0f * fb * fb * fb) * light_.stars * (1.0f - float(y) / horizon_);
        b *= 0.8f + 0.2f * sinf(seconds_ * (0.6f + ft) + ft * 40.0f);
        int v = int(b);
        uint32_t* p = bg + y * width_ + x;
        AddPixel(*p, v * 9 / 10, v * 19 / 20, v);
        if (large && fb > 0.85f && x + 1 < width_ && y + 1 < horizon_) {
            AddPixel(p[1], v / 3, v / 3, v / 3);
            AddPixel(p[width_], v / 3, v / 3, v / 3);
        }
    }
}

void Scene::PaintClouds(uint32_t* bg) const {
    const Light& l = light_;
    float glowRadius = height_ * 0.24f;
    float kx = 0.55f / glowRadius * 8.0f, ky = 1.0f / glowRadius * 8.0f;
    Layout layout(0xc10dU);
    for (int i = 0; i < 5; ++i) {
        float halfLength = width_ * (0.12f + 0.18f * layout.Next());
        float halfHeight = height_ * (0.008f + 0.014f * layout.Next());
        float cy = horizon_ * (0.35f + 0.5f * layout.Next());
        float span = width_ + 2.0f * halfLength;
        float drift = width_ * (0.0008f + 0.0012f * layout.Next());  // pixels a second
        float cx = fmodf(layout.Next() * span + seconds_ * drift, span) - halfLength;
        float opacity = 0.35f + 0.3f * layout.Next();
        float wave1 = 0.02f + 0.03f * layout.Next(), wave2 = 0.05f + 0.05f * layout.Next();
        wave1 *= 768.0f / (height_ + 1);
        wave2 *= 768.0f / (height_ + 1);

        int x0 = int(cx - halfLength), x1 = int(cx + halfLength) + 1;
        int y0 = int(cy - halfHeight), y1 = int(cy + halfHeight) + 1;
        if (x0 < 0) x0 = 0;
        if (x1 > width_) x1 = width_;
        if (y0 < 0) y0 = 0;
        if (y1 > horizon_) y1 = horizon_;
        for (int y = y0; y < y1; ++y) {
            float v = (y + 0.5f - cy) / halfHeight;
            float dy = (y + 0.5f - sunY_) * ky;
            uint32_t* row = bg + y * width_;
            for (int x = x0; x < x1; ++x) {
                float u = (x + 0.5f - cx) / halfLength;
                float d = u * u + v * v;
                if (d >= 1.0f) continue;
                // Wisps: thickness varies along the cloud.
                float wisp = 0.55f + 0.45f * sinf(x * wave1 + i) * sinf(x * wave2 + y * 0.3f * wave2);
                float a = (1.0f - d) * (1.0f - d) * opacity * wisp;
                // Clouds near the sun catch its glow.
                float dx = (x + 0.5f - sunX_) * kx;
                int f = gGlowTable[TableIndex(dx * dx + dy * dy)];
                float lit = l.glowAmount * f / 256.0f;
                BlendPixel(row[x], ClampByte(int(l.cloud.r + l.glow.r * lit)), ClampByte(int(l.cloud.g + l.glow.g * lit)),
                           ClampByte(int(l.cloud.b + l.glow.b * lit)), int(a * 256));
            }
        }
    }
}

bool Scene::AddDirty(int left, int top, int right, int bottom, DirtyRect& out) const {
    if (left < 0) left = 0;
    if (top < 0) top = 0;
    if (right > width_) right = width_;
    if (bottom > height_) bottom = height_;
    if (left >= right || top >= bottom) return false;
    out.left = left;
    out.top = top;
    out.right = right;
    out.bottom = bottom;
    return true;
}

void Scene::RestoreSprites(uint32_t* frame, const uint32_t* bg) const {
    for (int i = 0; i < dirtyCount_; ++i) {
        const DirtyRect& r = dirty_[i];
        size_t bytes = size_t(r.right - r.left) * sizeof(uint32_t);
        for (int y = r.top; y < r.bottom; ++y) {
            size_t at = size_t(y) * width_ + r.left;
            memcpy(frame + at, bg + at, bytes);
        }
    }
}

void Scene::PaintSprites(uint32_t* frame) {
    dirtyCount_ = 0;
    if (width_ <= 0 || height_ <= 0) return;
    PaintSun(frame);
    if (light_.pathAmount > 0.02f && height_ - horizon_ >= 2)
        for (int i = 0; i < glintCount_; ++i) PaintGlint(frame, glints_[i]);
    for (int i = 0; i < moteCount_; ++i) PaintMote(frame, motes_[i]);
}

void Scene::PaintSun(uint32_t* frame) {
    const Light& l = light_;
    float radius = sunRadius_;
    float halo = radius * 2.4f;
    DirtyRect& r = dirty_[dirtyCount_];
    // The sea hides whatever of the sun is still below the horizon.
    if (!AddDirty(int(floorf(sunX_ - halo)), int(floorf(sunY_ - halo)), int(ceilf(sunX_ + halo)),
                  int(ceilf(sunY_ + halo)) < horizon_ ? int(ceilf(sunY_ + halo)) : horizon_, r))
        return;
    ++dirtyCount_;
    float halo2 = halo * halo, inner2 = (radius - 1) * (radius - 1), outer2 = (radius + 1) * (radius + 1);
    // The halo leans towards the colour of the rim rather than adding light,
    // so nothing around the sun ends up brighter than the sun itself.
    int haloAmount = int((0.5f * l.glowAmount + 0.3f) * 256);
    int hr = int(l.sun.r + (255 - l.sun.r) * 0.3f), hg = int(l.sun.g + (255 - l.sun.g) * 0.3f),
        hb = int(l.sun.b + (255 - l.sun.b) * 0.3f);
    for (int y = r.top; y < r.bottom; ++y) {
        float dy = y + 0.5f - sunY_;
        uint32_t* row = frame + y * width_;
        for (int x = r.left; x < r.right; ++x) {
            float dx = x + 0.5f - sunX_;
            float d2 = dx * dx + dy * dy;
            if (d2 >= halo2) continue;
            float t = 1.0f - d2 / halo2;
            BlendPixel(row[x], hr, hg, hb, int(t * t * t * haloAmount));
            if (d2 >= outer2) continue;
            // Edge antialiasing, and a core that burns whiter than the rim.
            float a = d2 <= inner2 ? 1.0f : Clamp01(radius + 0.5f - sqrtf(d2));
            float core = 0.65f * (1.0f - d2 / outer2);
            BlendPixel(row[x], int(l.sun.r + (255 - l.sun.r) * core), int(l.sun.g + (255 - l.sun.g) * core),
                       int(l.sun.b + (255 - l.sun.b) * core), int(a * 256));
        }
    }
}

void Scene::PaintGlint(uint32_t* frame, const Glint& g) {
    float depth = (g.y - horizon_) / float(height_ - horizon_);
    float flash = sinf(kPi * g.age / g.life);
    float strength = flash * flash * light_.pathAmount * (0.45f + 0.55f * (1.0f - depth));
    int v = int(strength * 230.0f);
    if (v <= 2) return;
    int x0 = int(g.x - g.length * 0.5f), len = int(g.length) + 1, y = int(g.y);
    DirtyRect& r = dirty_[dirtyCount_];
    if (!AddDirty(x0, y, x0 + len, y + 1, r)) return;
    ++dirtyCount_;
    const Color& c = light_.sun;
    uint32_t* row = frame + y * width_;
    for (int x = r.left; x < r.right; ++x) {
        float s = 2.0f * (x - x0 + 0.5f) / len - 1.0f;  // -1..1 along the ripple
        int w = int(v * (1.0f - s * s));
        AddPixel(row[x], int(c.r) * w >> 8, int(c.g) * w >> 8, int(c.b) * w >> 8);
    }
}

void Scene::PaintMote(uint32_t* frame, const Mote& m) {
    float fade = sinf(kPi * m.age / m.life);
    float twinkle = 0.7f + 0.3f * sinf(m.age * 2.3f + m.phase);
    int v = int(m.brightness * fade * twinkle * light_.motes * 200.0f);
    if (v <= 2) return;
    float reach = m.radius + 1.0f;
    DirtyRect& r = dirty_[dirtyCount_];
    if (!AddDirty(int(floorf(m.x - reach)), int(floorf(m.y - reach)), int(ceilf(m.x + reach)),
                  int(ceilf(m.y + reach)), r))
        return;
    ++dirtyCount_;
    float reach2 = reach * reach;
    for (int y = r.top; y < r.bottom; ++y) {
        float dy = y + 0.5f - m.y;
        uint32_t* row = frame + y * width_;
        for (int x = r.left; x < r.right; ++x) {
            float dx = x + 0.5f - m.x;
            float t = 1.0f - (dx * dx + dy * dy) / reach2;
            if (t <= 0.0f) continue;
            int w = int(v * t * t);
            AddPixel(row[x], w, w * 7 / 8, w * 5 / 8);  // warm, like embers or fireflies
        }
    }
}
