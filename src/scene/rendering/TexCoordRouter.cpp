#include "scene/rendering/TexCoordRouter.h"

#include "platform/core/Assert.h"

namespace {

constexpr GLenum Unit0 = GL_TEXTURE0_ARB;
constexpr GLenum Unit1 = GL_TEXTURE1_ARB;

std::vector<GLenum> units;
TMapTexCoordMode currentMode = mtcmNull;
TMapTexCoordMode pendingMode = mtcmNull;
int updateDepth = 0;
bool forbidSecondUnit = false;

// No unit.
namespace none {
void TexCoord2f(GLfloat, GLfloat) {}
void TexCoord2fv(const GLfloat*) {}
void TexCoord3f(GLfloat, GLfloat, GLfloat) {}
void TexCoord3fv(const GLfloat*) {}
void TexCoord4f(GLfloat, GLfloat, GLfloat, GLfloat) {}
void TexCoord4fv(const GLfloat*) {}
void TexGenf(GLenum, GLenum, GLfloat) {}
void TexGenfv(GLenum, GLenum, const GLfloat*) {}
void TexGeni(GLenum, GLenum, GLint) {}
void TexGeniv(GLenum, GLenum, const GLint*) {}
void TexCoordPointer(GLint, GLenum, GLsizei, const GLvoid*) {}
void ClientState(GLenum) {}
void Cap(GLenum) {}
} // namespace none

// Unit 1 only.
namespace second {
void TexCoord2f(GLfloat s, GLfloat t) { GL.glMultiTexCoord2fARB(Unit1, s, t); }
void TexCoord2fv(const GLfloat* v) { GL.glMultiTexCoord2fvARB(Unit1, v); }
void TexCoord3f(GLfloat s, GLfloat t, GLfloat r) { GL.glMultiTexCoord3fARB(Unit1, s, t, r); }
void TexCoord3fv(const GLfloat* v) { GL.glMultiTexCoord3fvARB(Unit1, v); }
void TexCoord4f(GLfloat s, GLfloat t, GLfloat r, GLfloat q) { GL.glMultiTexCoord4fARB(Unit1, s, t, r, q); }
void TexCoord4fv(const GLfloat* v) { GL.glMultiTexCoord4fvARB(Unit1, v); }
} // namespace second

// Runs `call` with unit 1 selected (server side), then selects unit 0 again.
template <class Call>
void ActiveOnUnit1(Call call)
{
    GL.glActiveTextureARB(Unit1);
    call();
    GL.glActiveTextureARB(Unit0);
}

template <class Call>
void ClientOnUnit1(Call call)
{
    GL.glClientActiveTextureARB(Unit1);
    call();
    GL.glClientActiveTextureARB(Unit0);
}

template <class Call>
void ActiveOnEachUnit(Call call)
{
    for (GLenum unit : units) {
        GL.glActiveTextureARB(unit);
        call();
    }
    GL.glActiveTextureARB(Unit0);
}

template <class Call>
void ClientOnEachUnit(Call call)
{
    for (GLenum unit : units) {
        GL.glClientActiveTextureARB(unit);
        call();
    }
    GL.glClientActiveTextureARB(Unit0);
}

const TTexCoordRouter nullTable = {none::TexCoord2f,  none::TexCoord2fv, none::TexCoord3f,      none::TexCoord3fv,
                                   none::TexCoord4f,  none::TexCoord4fv, none::TexGenf,         none::TexGenfv,
                                   none::TexGeni,     none::TexGeniv,    none::TexCoordPointer, none::ClientState,
                                   none::ClientState, none::Cap,         none::Cap};

TTexCoordRouter SecondTable()
{
    return {
        second::TexCoord2f,
        second::TexCoord2fv,
        second::TexCoord3f,
        second::TexCoord3fv,
        second::TexCoord4f,
        second::TexCoord4fv,
        [](GLenum c, GLenum p, GLfloat v) { ActiveOnUnit1([&] { GL.glTexGenf(c, p, v); }); },
        [](GLenum c, GLenum p, const GLfloat* v) { ActiveOnUnit1([&] { GL.glTexGenfv(c, p, v); }); },
        [](GLenum c, GLenum p, GLint v) { ActiveOnUnit1([&] { GL.glTexGeni(c, p, v); }); },
        [](GLenum c, GLenum p, const GLint* v) { ActiveOnUnit1([&] { GL.glTexGeniv(c, p, v); }); },
        [](GLint n, GLenum t, GLsizei s, const GLvoid* p) { ClientOnUnit1([&] { GL.glTexCoordPointer(n, t, s, p); }); },
        [](GLenum a) { ClientOnUnit1([&] { GL.glEnableClientState(a); }); },
        [](GLenum a) { ClientOnUnit1([&] { GL.glDisableClientState(a); }); },
        [](GLenum c) { ActiveOnUnit1([&] { GL.glEnable(c); }); },
        [](GLenum c) { ActiveOnUnit1([&] { GL.glDisable(c); }); },
    };
}

// Unit 0 as usual, then the same for unit 1.
TTexCoordRouter DualTable()
{
    return {
        [](GLfloat s, GLfloat t) {
            GL.glTexCoord2f(s, t);
            GL.glMultiTexCoord2fARB(Unit1, s, t);
        },
        [](const GLfloat* v) {
            GL.glTexCoord2fv(v);
            GL.glMultiTexCoord2fvARB(Unit1, v);
        },
        [](GLfloat s, GLfloat t, GLfloat r) {
            GL.glTexCoord3f(s, t, r);
            GL.glMultiTexCoord3fARB(Unit1, s, t, r);
        },
        [](const GLfloat* v) {
            GL.glTexCoord3fv(v);
            GL.glMultiTexCoord3fvARB(Unit1, v);
        },
        [](GLfloat s, GLfloat t, GLfloat r, GLfloat q) {
            GL.glTexCoord4f(s, t, r, q);
            GL.glMultiTexCoord4fARB(Unit1, s, t, r, q);
        },
        [](const GLfloat* v) {
            GL.glTexCoord4fv(v);
            GL.glMultiTexCoord4fvARB(Unit1, v);
        },
        [](GLenum c, GLenum p, GLfloat v) {
            GL.glTexGenf(c, p, v);
            ActiveOnUnit1([&] { GL.glTexGenf(c, p, v); });
        },
        [](GLenum c, GLenum p, const GLfloat* v) {
            GL.glTexGenfv(c, p, v);
            ActiveOnUnit1([&] { GL.glTexGenfv(c, p, v); });
        },
        [](GLenum c, GLenum p, GLint v) {
            GL.glTexGeni(c, p, v);
            ActiveOnUnit1([&] { GL.glTexGeni(c, p, v); });
        },
        [](GLenum c, GLenum p, const GLint* v) {
            GL.glTexGeniv(c, p, v);
            ActiveOnUnit1([&] { GL.glTexGeniv(c, p, v); });
        },
        [](GLint n, GLenum t, GLsizei s, const GLvoid* p) {
            GL.glTexCoordPointer(n, t, s, p);
            ClientOnUnit1([&] { GL.glTexCoordPointer(n, t, s, p); });
        },
        [](GLenum a) {
            GL.glEnableClientState(a);
            ClientOnUnit1([&] { GL.glEnableClientState(a); });
        },
        [](GLenum a) {
            GL.glDisableClientState(a);
            ClientOnUnit1([&] { GL.glDisableClientState(a); });
        },
        [](GLenum c) {
            GL.glEnable(c);
            ActiveOnUnit1([&] { GL.glEnable(c); });
        },
        [](GLenum c) {
            GL.glDisable(c);
            ActiveOnUnit1([&] { GL.glDisable(c); });
        },
    };
}

// Every unit of the stored list.
TTexCoordRouter ArbitraryTable()
{
    return {
        [](GLfloat s, GLfloat t) {
            for (GLenum u : units) {
                GL.glMultiTexCoord2fARB(u, s, t);
            }
        },
        [](const GLfloat* v) {
            for (GLenum u : units) {
                GL.glMultiTexCoord2fvARB(u, v);
            }
        },
        [](GLfloat s, GLfloat t, GLfloat r) {
            for (GLenum u : units) {
                GL.glMultiTexCoord3fARB(u, s, t, r);
            }
        },
        [](const GLfloat* v) {
            for (GLenum u : units) {
                GL.glMultiTexCoord3fvARB(u, v);
            }
        },
        [](GLfloat s, GLfloat t, GLfloat r, GLfloat q) {
            for (GLenum u : units) {
                GL.glMultiTexCoord4fARB(u, s, t, r, q);
            }
        },
        [](const GLfloat* v) {
            for (GLenum u : units) {
                GL.glMultiTexCoord4fvARB(u, v);
            }
        },
        [](GLenum c, GLenum p, GLfloat v) { ActiveOnEachUnit([&] { GL.glTexGenf(c, p, v); }); },
        [](GLenum c, GLenum p, const GLfloat* v) { ActiveOnEachUnit([&] { GL.glTexGenfv(c, p, v); }); },
        [](GLenum c, GLenum p, GLint v) { ActiveOnEachUnit([&] { GL.glTexGeni(c, p, v); }); },
        [](GLenum c, GLenum p, const GLint* v) { ActiveOnEachUnit([&] { GL.glTexGeniv(c, p, v); }); },
        [](GLint n, GLenum t, GLsizei s, const GLvoid* p) { ClientOnEachUnit([&] { GL.glTexCoordPointer(n, t, s, p); }); },
        [](GLenum a) { ClientOnEachUnit([&] { GL.glEnableClientState(a); }); },
        [](GLenum a) { ClientOnEachUnit([&] { GL.glDisableClientState(a); }); },
        [](GLenum c) { ActiveOnEachUnit([&] { GL.glEnable(c); }); },
        [](GLenum c) { ActiveOnEachUnit([&] { GL.glDisable(c); }); },
    };
}

TTexCoordRouter MainTable()
{
    return {GL.glTexCoord2f, GL.glTexCoord2fv, GL.glTexCoord3f,      GL.glTexCoord3fv,     GL.glTexCoord4f,
            GL.glTexCoord4fv, GL.glTexGenf,   GL.glTexGenfv,        GL.glTexGeni,         GL.glTexGeniv,
            GL.glTexCoordPointer, GL.glEnableClientState, GL.glDisableClientState, GL.glEnable, GL.glDisable};
}

void ApplyMode(TMapTexCoordMode mode)
{
    if (mode == currentMode) {
        return;
    }
    // Checked before anything changes, so a failure leaves mode and tables in step.
    switch (mode) {
    case mtcmNull:
        TexCoordRouter = nullTable;
        break;
    case mtcmMain:
        TexCoordRouter = MainTable();
        break;
    case mtcmSecond:
        KP_ASSERT(GLExt.ARB_multitexture);
        TexCoordRouter = SecondTable();
        break;
    case mtcmDual:
        KP_ASSERT(GLExt.ARB_multitexture);
        TexCoordRouter = DualTable();
        break;
    case mtcmArbitrary:
        KP_ASSERT(GLExt.ARB_multitexture);
        TexCoordRouter = ArbitraryTable();
        break;
    default:
        KP_ASSERT_MSG(false, "Unknown texture coordinate mode");
    }
    currentMode = mode;
}

void RequestMode(TMapTexCoordMode mode)
{
    if (updateDepth > 0) {
        pendingMode = mode;
    } else {
        ApplyMode(mode);
    }
}

} // namespace

TTexCoordRouter TexCoordRouter = nullTable;

TMapTexCoordMode CurrentTexCoordMode()
{
    return currentMode;
}

void MapTexCoordNowhere()
{
    RequestMode(mtcmNull);
}

void MapTexCoordToUnit0()
{
    RequestMode(mtcmMain);
}

void MapTexCoordToUnit1()
{
    RequestMode(forbidSecondUnit ? mtcmNull : mtcmSecond);
}

void MapTexCoordToUnits01()
{
    RequestMode(forbidSecondUnit ? mtcmMain : mtcmDual);
}

void MapTexCoordToUnitList(const std::vector<GLenum>& list)
{
    units.clear();
    for (GLenum unit : list) {
        if (!(forbidSecondUnit && unit == Unit1)) {
            units.push_back(unit);
        }
    }
    RequestMode(mtcmArbitrary);
}

void MapTexCoordToUnitMask(std::uint32_t mask)
{
    std::vector<GLenum> list;
    for (int i = 0; i < 8; ++i) {
        if (mask & (1u << i)) {
            list.push_back(Unit0 + GLenum(i));
        }
    }
    MapTexCoordToUnitList(list);
}

void MapTexCoordToUnitMaskAdd(std::uint32_t mask)
{
    MapTexCoordToUnitMask(MappedTexUnitsMask() | mask);
}

std::uint32_t MappedTexUnitsMask()
{
    switch (updateDepth > 0 ? pendingMode : currentMode) {
    case mtcmMain:
        return 1;
    case mtcmDual:
        return 3;
    case mtcmSecond:
        return 2;
    case mtcmArbitrary: {
        std::uint32_t mask = 0;
        for (GLenum unit : units) {
            mask |= 1u << (unit & 31);
        }
        return mask;
    }
    default:
        KP_ASSERT_MSG(false, "No texture units are mapped");
    }
}

const std::vector<GLenum>& MappedTexUnitList()
{
    return units;
}

void ForbidSecondTexUnit()
{
    forbidSecondUnit = true;
}

void AllowSecondTexUnit()
{
    forbidSecondUnit = false;
}

void TexCoordMapBeginUpdate()
{
    if (updateDepth == 0) {
        pendingMode = currentMode;
    }
    ++updateDepth;
}

void TexCoordMapEndUpdate()
{
    KP_ASSERT(updateDepth > 0);
    if (--updateDepth > 0) {
        return;
    }
    KP_ASSERT(pendingMode != mtcmUndefined);
    ApplyMode(pendingMode);
}
