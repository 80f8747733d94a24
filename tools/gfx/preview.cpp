#include "preview.h"

#include <algorithm>
#include <cstdio>
#include <map>

#include "noise.h"
#include "png_writer.h"

namespace {

const Colour kDark = Rgb(8, 10, 24);

// Copies one cell of src onto dst with its top-left corner at (dx, dy), tinted.
void DrawCell(Image& dst, const Image& src, int sx, int sy, int w, int h, int dx, int dy,
              Colour tint = Colour{1, 1, 1, 1}) {
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            Colour c = src.Get(sx + x, sy + y);
            if (c.a > 0) {
                Colour t{c.r * tint.r, c.g * tint.g, c.b * tint.b, c.a * tint.a};
                dst.Blend(dx + x, dy + y, t, 1.0f);
            }
        }
    }
}

Image Backdrop(int w, int h) {
    Image img(w, h);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            img.Blend(x, y, kDark, 1.0f);
        }
    }
    return img;
}

void WriteScaled(const Image& img, int scale, const std::string& path) {
    std::vector<uint8_t> rgb = img.ToRgb8();
    int w = img.Width() * scale, h = img.Height() * scale;
    std::vector<uint8_t> big(static_cast<size_t>(w) * h * 3);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            for (int c = 0; c < 3; ++c) {
                big[(static_cast<size_t>(y) * w + x) * 3 + c] =
                    rgb[(static_cast<size_t>(y / scale) * img.Width() + x / scale) * 3 + c];
            }
        }
    }
    WritePng(path, w, h, 3, big);
}

class Writer {
public:
    explicit Writer(const Image& font) : font_(font), widths_(MeasureFontWidths(font)) {
        widths_[37] = 6;
    }

    int Glyph(char c) const {
        for (int i = 0; i < 40; ++i) {
            if (kCharset[i] == c) {
                return i;
            }
        }
        return 37;
    }
    int Width(const std::string& text) const {
        int w = 0;
        for (char c : text) {
            w += widths_[Glyph(c)];
        }
        return w;
    }
    void Draw(Image& dst, const std::string& text, int x, int y, Colour tint,
              bool centred = false) const {
        if (centred) {
            x -= Width(text) / 2;
        }
        for (char c : text) {
            int g = Glyph(c);
            DrawCell(dst, font_, (g % 5) * 24, (g / 5) * 16, 24, 16, x, y, tint);
            x += widths_[g];
        }
    }

private:
    const Image& font_;
    std::vector<int> widths_;
};

void FontSample(const Image& font, const std::string& dir) {
    Writer w(font);
    Image img = Backdrop(560, 230);
    const char* lines[] = {
        "WELL DONE - YOU HAVE A HIGH SCORE",  "0123456789",
        "USE Z & X OR CURSOR KEYS TO MOVE",   "ABCDEFGHIJKLMNOPQRSTUVWXYZ",
        "PRESS SPACE TO FIRE AND START GAME", "GAME OVER. PAUSED. WAVE 10",
        "HI-SCORE  SCORE  MINIMUM WAVY JIQX",
    };
    Colour tints[] = {Rgb(255, 255, 255), Rgb(255, 255, 0), Rgb(255, 0, 255),  Rgb(0, 255, 255),
                      Rgb(255, 0, 255),   Rgb(255, 255, 0), Rgb(255, 255, 255)};
    for (int i = 0; i < 7; ++i) {
        w.Draw(img, lines[i], 8, 8 + 30 * i, tints[i]);
    }
    WriteScaled(img, 1, dir + "/font_sample_1x.png");
    WriteScaled(img, 3, dir + "/font_sample_3x.png");
}

void TitleScreen(const std::map<std::string, const Image*>& p, const std::string& dir) {
    Image screen(1024, 768);
    screen.Draw(*p.at("space.png"), 0, 0);
    const Image& stars = *p.at("stars.png");
    Rng rng(7);
    for (int i = 0; i < 150; ++i) {
        int frame = i / 50;
        DrawCell(screen, stars, frame * 8, 0, 8, 8, static_cast<int>(rng.Range(0, 1024)) - 4,
                 static_cast<int>(rng.Range(0, 768)) - 4);
    }
    const Image& title = *p.at("title.png");
    screen.Draw(title, 512 - title.Width() / 2, 64 - title.Height() / 2);
    screen.Draw(*p.at("logo_sml.png"), 880, 667);
    Writer w(*p.at("font.png"));
    w.Draw(screen, "PROGRAMMING & GRAPHICS BY THE QUORVEX TEAM", 16, 688, Rgb(0, 255, 255));
    w.Draw(screen, "MUSIC BY THE QUORVEX TEAM", 16, 728, Rgb(0, 255, 255));
    const char* names[] = {"ACE", "NOVA", "ZED", "MAX", "IVY", "REX", "JO", "KAI", "LU", "BOB"};
    int base = w.Width("10") + 312;
    for (int i = 0; i < 10; ++i) {
        std::string n = std::to_string(i + 1), s = std::to_string(10000 - 1000 * i);
        int y = 160 + 32 * i;
        w.Draw(screen, n, base - w.Width(n), y, Rgb(255, 255, 0));
        w.Draw(screen, s, base + 128 - w.Width(s), y, Rgb(255, 255, 0));
        w.Draw(screen, names[i], base + 144, y, Rgb(255, 255, 0));
    }
    w.Draw(screen, "USE Z & X OR CURSOR KEYS TO MOVE", 512, 524, Rgb(255, 0, 255), true);
    w.Draw(screen, "PRESS SPACE TO FIRE AND START GAME", 512, 554, Rgb(255, 0, 255), true);
    w.Draw(screen, "PRESS M TO TOGGLE MUSIC", 512, 584, Rgb(255, 0, 255), true);
    WriteScaled(screen, 1, dir + "/screen_title.png");
}

void PlayScreen(const std::map<std::string, const Image*>& p, const std::string& dir) {
    Image screen(1024, 768);
    screen.Draw(*p.at("space.png"), 0, 0);
    const Image& alien = *p.at("alien.png");
    for (int r = 0; r < 6; ++r) {
        for (int c = 0; c < 8; ++c) {
            int frame = (r + c) % 4;
            DrawCell(screen, alien, frame * 32, 0, 32, 32, 300 + 64 * c - 16, 200 + 64 * r - 16);
        }
    }
    const Image& ship = *p.at("ship.png");
    screen.Draw(ship, 500 - 32, 720 - 16);
    const Image& bullet = *p.at("bullet.png");
    screen.Draw(bullet, 500 - 4, 600 - 8);
    screen.Draw(bullet, 500 - 4, 520 - 8);
    const Image& bomb = *p.at("bomb.png");
    screen.Draw(bomb, 420 - 6, 640 - 6);
    screen.Draw(bomb, 620 - 6, 580 - 6);
    const Image& boom = *p.at("explosion.png");
    for (int f = 0; f < 9; ++f) {
        DrawCell(screen, boom, (f % 3) * 32, (f / 3) * 32, 32, 32, 40 + 40 * f, 620,
                 Colour{1, 1, 1, 1.0f - 0.1f * f});
    }
    Writer w(*p.at("font.png"));
    w.Draw(screen, "SCORE", 128, 0, Rgb(255, 255, 255), true);
    w.Draw(screen, "HI-SCORE", 896, 0, Rgb(255, 255, 255), true);
    const Image& digits = *p.at("digits.png");
    const char* score = "01234567";
    for (int i = 0; i < 8; ++i) {
        int d = score[i] - '0';
        DrawCell(screen, digits, (d % 5) * 32, (d / 5) * 32, 32, 32, 32 * i, 16);
        int e = (8 + i) % 10;
        DrawCell(screen, digits, (e % 5) * 32, (e / 5) * 32, 32, 32, 768 + 32 * i, 16);
    }
    for (int i = 1; i < 3; ++i) {
        screen.Draw(*p.at("life.png"), 1024 - 32 * i, 752);
    }
    w.Draw(screen, "WAVE 12", 0, 752, Rgb(255, 255, 255));
    w.Draw(screen, "GAME OVER", 512, 376, Rgb(255, 255, 0), true);
    WriteScaled(screen, 1, dir + "/screen_play.png");
}

void LoadingScreens(const std::map<std::string, const Image*>& p, const std::string& dir) {
    for (const char* name : {"logo_lge.png", "presents.png", "load_title.png"}) {
        // The loading screen is drawn over black.
        Image black(1024, 768);
        for (int y = 0; y < 768; ++y) {
            for (int x = 0; x < 1024; ++x) {
                black.Blend(x, y, Rgb(0, 0, 0), 1);
            }
        }
        const Image& img = *p.at(name);
        black.Draw(img, 512 - img.Width() / 2, 384 - img.Height() / 2);
        WriteScaled(black, 1, dir + "/loading_" + name);
    }
}

}  // namespace

void WritePreviews(const std::vector<Picture>& pictures, const std::string& dir) {
    std::map<std::string, const Image*> byName;
    for (const Picture& p : pictures) {
        byName[p.name] = &p.image;
        const Image& img = p.image;
        int scale = img.Width() <= 32    ? 12
                    : img.Width() <= 64  ? 10
                    : img.Width() <= 160 ? 6
                    : img.Width() <= 500 ? 2
                                         : 1;
        Image back = Backdrop(img.Width(), img.Height());
        back.Draw(img, 0, 0);
        std::string flatName = p.name;  // pictures in sub-folders preview beside the others
        std::replace(flatName.begin(), flatName.end(), '/', '_');
        WriteScaled(back, scale, dir + "/view_" + flatName);
    }
    FontSample(*byName.at("font.png"), dir);
    TitleScreen(byName, dir);
    PlayScreen(byName, dir);
    LoadingScreens(byName, dir);
}
