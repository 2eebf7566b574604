#include "Invariants.h"

#include "CardPictures.h"
#include "Carte.h"
#include "Controls.h"
#include "Testi.h"

#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>

namespace trivanta::monkey {

namespace {

QString q(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

bool codiceValido(std::int16_t p) {
    switch (p) {
    case PosMazzo:
    case PosManoPc:
    case PosManoUser:
    case PosPresaPc:
    case PosPresaUser:
    case PosBriscola:
    case PosTerraPc:
    case PosTerraUser:
        return true;
    default:
        return false;
    }
}

// The picture name of the only card at a location, "" when none lies there.
std::string_view unicaCarta(const StatoGioco& s, std::int16_t posizione) {
    for (int v = 1; v <= NumeroValori; ++v) {
        for (int m = 1; m <= NumeroSemi; ++m) {
            if (s.StatoCarte[v][m] == posizione) {
                return NomeImmagine(v, m);
            }
        }
    }
    return {};
}

// Points by value, as a player counts them.
int punti(int valore) {
    switch (valore) {
    case 1:
        return 11;
    case 3:
        return 10;
    case 10:
        return 4;
    case 9:
        return 3;
    case 8:
        return 2;
    default:
        return 0;
    }
}

int puntiIn(const StatoGioco& s, std::int16_t pila) {
    int totale = 0;
    for (int v = 1; v <= NumeroValori; ++v) {
        for (int m = 1; m <= NumeroSemi; ++m) {
            totale += s.StatoCarte[v][m] == pila ? punti(v) : 0;
        }
    }
    return totale;
}

QString testoStato(const Conteggi& n) {
    return QStringLiteral("Carte prese dal PC: %1 Carte prese da USER: %2")
        .arg(n[PosPresaPc])
        .arg(n[PosPresaUser]);
}

void atteso(QStringList& errori, bool ok, const QString& cosa) {
    if (!ok) {
        errori << cosa;
    }
}

QString nomePosto(const char* base, std::size_t k) {
    return QStringLiteral("%1(%2)").arg(QString::fromLatin1(base)).arg(k);
}

// The place as drawn: inside the 2-pixel border exactly the picture, or one
// flat colour when it holds none.
bool disegnoGiusto(CardPlace* place) {
    const QImage drawn = place->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const qreal ratio = drawn.devicePixelRatio();
    const int border = qRound(2 * ratio);
    if (place->immagine().empty()) {
        const QRgb face = drawn.pixel(border, border);
        for (int y = border; y < drawn.height() - border; ++y) {
            for (int x = border; x < drawn.width() - border; ++x) {
                if (drawn.pixel(x, y) != face) {
                    return false;
                }
            }
        }
        return true;
    }
    QImage expected =
        cardPicture(place->immagine()).toImage().convertToFormat(QImage::Format_RGB32);
    if (expected.isNull()) {
        return false;
    }
    if (ratio != 1.0) {
        expected =
            expected.scaled(expected.size() * ratio, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    }
    return drawn.width() == expected.width() + 2 * border &&
           drawn.height() == expected.height() + 2 * border &&
           drawn.copy(border, border, expected.width(), expected.height()) == expected;
}

void confrontaPosto(QStringList& errori, MainWindow& w, const QString& nome, const Posto& posto,
                    bool pixels) {
    auto* place = w.findChild<CardPlace*>(nome);
    if (place == nullptr) {
        errori << nome + QStringLiteral(" is missing");
        return;
    }
    const QString mostra = q(place->immagine());
    atteso(
        errori, place->immagine() == posto.immagine,
        QStringLiteral("%1 shows '%2', the table says '%3'").arg(nome, mostra, q(posto.immagine)));
    atteso(errori, place->isVisible() == posto.visibile,
           QStringLiteral("%1 is %2, the table says %3")
               .arg(nome, place->isVisible() ? QStringLiteral("visible") : QStringLiteral("hidden"),
                    posto.visibile ? QStringLiteral("visible") : QStringLiteral("hidden")));
    atteso(errori, place->picture().isNull() == place->immagine().empty(),
           nome + QStringLiteral(" holds a picture that does not match its name '") + mostra + "'");
    if (!place->picture().isNull()) {
        const QSize inside = place->picture().deviceIndependentSize().toSize();
        atteso(errori, place->size() == inside + QSize(4, 4),
               QStringLiteral("%1 is %2x%3 around a %4x%5 picture")
                   .arg(nome)
                   .arg(place->width())
                   .arg(place->height())
                   .arg(inside.width())
                   .arg(inside.height()));
    }
    if (pixels && place->isVisible()) {
        atteso(errori, disegnoGiusto(place),
               QStringLiteral("%1 does not draw the picture '%2'").arg(nome, mostra));
    }
}

// The red marker's top edge shows above the card it surrounds.
bool rossoSopra(const QImage& client, const QWidget* shape) {
    const QPoint p = shape->geometry().topLeft() + QPoint(shape->width() / 2, 1);
    const qreal ratio = client.devicePixelRatio();
    return client.pixel(QPoint(qRound(p.x() * ratio), qRound(p.y() * ratio))) == qRgb(255, 0, 0);
}

} // namespace

Conteggi conta(const StatoGioco& s) {
    Conteggi n{};
    for (int v = 1; v <= NumeroValori; ++v) {
        for (int m = 1; m <= NumeroSemi; ++m) {
            const std::int16_t p = s.StatoCarte[v][m];
            if (p >= 0 && p < static_cast<int>(n.size())) {
                ++n[static_cast<std::size_t>(p)];
            }
        }
    }
    return n;
}

QStringList controllaCodici(const StatoGioco& s) {
    QStringList errori;
    for (int v = 0; v <= NumeroValori; ++v) {
        for (int m = 0; m <= NumeroSemi; ++m) {
            const std::int16_t p = s.StatoCarte[v][m];
            if (v == 0 || m == 0) {
                atteso(errori, p == PosMazzo,
                       QStringLiteral("entry (%1, %2), which is no card, holds %3")
                           .arg(v)
                           .arg(m)
                           .arg(p));
            } else {
                atteso(errori, codiceValido(p),
                       QStringLiteral("card %1 has location %2").arg(q(NomeImmagine(v, m))).arg(p));
            }
        }
    }
    return errori;
}

QStringList controllaStato(const StatoGioco& s) {
    QStringList errori = controllaCodici(s);
    if (!errori.isEmpty()) {
        return errori;
    }
    const Conteggi n = conta(s);
    const QString counts =
        QStringLiteral(" (deck %1, trump %2, hands %3/%4, table %5/%6, piles %7/%8)")
            .arg(n[PosMazzo])
            .arg(n[PosBriscola])
            .arg(n[PosManoUser])
            .arg(n[PosManoPc])
            .arg(n[PosTerraUser])
            .arg(n[PosTerraPc])
            .arg(n[PosPresaUser])
            .arg(n[PosPresaPc]);

    // Between events the user has still to play: nothing of theirs is on the
    // table, and the computer's card lies there exactly when it leads.
    atteso(errori, n[PosTerraUser] == 0, "a user's card lies on the table between tricks" + counts);
    atteso(errori, n[PosTerraPc] <= 1, "more than one computer card on the table" + counts);
    atteso(errori, s.WaitingForUser, QStringLiteral("not waiting for the user between events"));
    atteso(errori, s.WaitingForPC == (n[PosTerraPc] == 0),
           QStringLiteral("WaitingForPC is %1 with %2 computer card on the table")
               .arg(s.WaitingForPC)
               .arg(n[PosTerraPc]));
    atteso(errori, s.Turno == TurnoUser || s.Turno == TurnoPc,
           QStringLiteral("Turno is %1").arg(s.Turno));
    atteso(errori, (n[PosTerraPc] == 1) == (s.Turno == TurnoPc),
           QStringLiteral("Turno %1 but %2 computer card led").arg(s.Turno).arg(n[PosTerraPc]));
    atteso(errori, !s.PartitaFinita && !s.SceltoDiChiudere,
           QStringLiteral("a finished game is still on the table"));
    atteso(errori, s.MazziereUser == 0 || s.MazziereUser == 1,
           QStringLiteral("MazziereUser is %1").arg(s.MazziereUser));

    // Each trick puts two cards in one pile and draws one card per side
    // while the stock lasts.
    const int prese = n[PosPresaPc] + n[PosPresaUser];
    const int trick = prese / 2;
    atteso(errori, n[PosPresaPc] % 2 == 0 && n[PosPresaUser] % 2 == 0 && trick <= 19,
           "piles that no sequence of tricks gives" + counts);
    atteso(
        errori, n[PosManoUser] == std::min(3, 20 - trick),
        QStringLiteral("the user holds %1 cards after %2 tricks").arg(n[PosManoUser]).arg(trick) +
            counts);
    atteso(errori, n[PosManoPc] + n[PosTerraPc] == n[PosManoUser],
           "the computer played a different number of cards" + counts);
    atteso(errori, n[PosMazzo] + n[PosBriscola] == std::max(0, 34 - 2 * trick),
           QStringLiteral("stock does not match %1 tricks").arg(trick) + counts);
    atteso(
        errori, n[PosBriscola] == (trick <= 16 ? 1 : 0),
        QStringLiteral("%1 trump cards turned up after %2 tricks").arg(n[PosBriscola]).arg(trick));
    atteso(errori, s.SemeBriscola >= 1 && s.SemeBriscola <= NumeroSemi,
           QStringLiteral("trump suit %1").arg(s.SemeBriscola));
    const std::string_view briscola = unicaCarta(s, PosBriscola);
    const bool semeGiusto = s.SemeBriscola >= 1 && s.SemeBriscola <= NumeroSemi &&
                            !briscola.empty() &&
                            briscola[0] == "oscb"[static_cast<std::size_t>(s.SemeBriscola) - 1];
    atteso(errori, briscola.empty() || semeGiusto,
           QStringLiteral("trump card %1 is not of the trump suit %2")
               .arg(q(briscola))
               .arg(s.SemeBriscola));

    // The user's hand as listed for the clicks: in scan order, then -1.
    std::size_t slot = 0;
    for (int v = 1; v <= NumeroValori; ++v) {
        for (int m = 1; m <= NumeroSemi; ++m) {
            if (s.StatoCarte[v][m] == PosManoUser && slot < 3) {
                atteso(errori, s.ManoUserValore[slot] == v && s.ManoUserSeme[slot] == m,
                       QStringLiteral("hand slot %1 lists (%2, %3) instead of (%4, %5)")
                           .arg(slot)
                           .arg(s.ManoUserValore[slot])
                           .arg(s.ManoUserSeme[slot])
                           .arg(v)
                           .arg(m));
                ++slot;
            }
        }
    }
    atteso(errori, s.ManoUserValore[slot] == -1 && s.ManoUserSeme[slot] == -1,
           QStringLiteral("hand slot %1 does not end the hand").arg(slot));
    atteso(errori, s.currentindex >= 0 && s.currentindex < n[PosManoUser],
           QStringLiteral("selected slot %1 with %2 cards in hand")
               .arg(s.currentindex)
               .arg(n[PosManoUser]));
    return errori;
}

QStringList controllaTavolo(const StatoGioco& s, const Tavolo& t) {
    QStringList errori;
    const Conteggi n = conta(s);
    for (std::size_t k = 0; k < 3; ++k) {
        const bool inMano = static_cast<int>(k) < n[PosManoUser];
        atteso(errori, t.user[k].visibile == inMano,
               QStringLiteral("user(%1) visible %2 with %3 cards in hand")
                   .arg(k)
                   .arg(t.user[k].visibile)
                   .arg(n[PosManoUser]));
        if (inMano) {
            atteso(errori,
                   t.user[k].immagine == NomeImmagine(s.ManoUserValore[k], s.ManoUserSeme[k]),
                   QStringLiteral("user(%1) shows '%2', slot holds (%3, %4)")
                       .arg(k)
                       .arg(q(t.user[k].immagine))
                       .arg(s.ManoUserValore[k])
                       .arg(s.ManoUserSeme[k]));
        }
        atteso(errori, t.pc[k].visibile == (static_cast<int>(k) < n[PosManoPc]),
               QStringLiteral("pc(%1) visible %2 with %3 computer cards")
                   .arg(k)
                   .arg(t.pc[k].visibile)
                   .arg(n[PosManoPc]));
        atteso(errori, t.pc[k].immagine == Vuota,
               QStringLiteral("pc(%1) shows '%2' face up").arg(k).arg(q(t.pc[k].immagine)));
    }
    atteso(errori, t.terrauser.visibile && t.terrauser.immagine.empty(),
           QStringLiteral("terrauser shows '%1' with no user card on the table")
               .arg(q(t.terrauser.immagine)));
    atteso(errori, t.terrapc.visibile && t.terrapc.immagine == unicaCarta(s, PosTerraPc),
           QStringLiteral("terrapc shows '%1', the table holds '%2'")
               .arg(q(t.terrapc.immagine), q(unicaCarta(s, PosTerraPc))));
    atteso(errori,
           t.cartabriscola.visibile && t.cartabriscola.immagine == unicaCarta(s, PosBriscola),
           QStringLiteral("cartabriscola shows '%1', the trump card is '%2'")
               .arg(q(t.cartabriscola.immagine), q(unicaCarta(s, PosBriscola))));
    int markers = 0;
    for (std::size_t k = 0; k < 3; ++k) {
        markers += t.Shape2[k] ? 1 : 0;
    }
    atteso(errori,
           markers == 1 && s.currentindex >= 0 && s.currentindex < 3 &&
               t.Shape2[static_cast<std::size_t>(s.currentindex)],
           QStringLiteral("%1 markers shown, selected slot %2").arg(markers).arg(s.currentindex));
    atteso(errori, q(t.StatusBar1) == testoStato(n),
           QStringLiteral("status bar value '%1', the piles give '%2'")
               .arg(q(t.StatusBar1), testoStato(n)));
    return errori;
}

Forma rilevaForma(MainWindow& w) {
    Forma forma;
    forma.finestra = w.size();
    for (QWidget* child : w.findChildren<QWidget*>()) {
        if (!child->objectName().isEmpty() && !child->isWindow()) {
            forma.posizioni[child->objectName()] = child->pos();
        }
    }
    return forma;
}

QStringList controllaFinestra(MainWindow& w, const Forma& forma, bool pixels) {
    QStringList errori;
    const Tavolo& t = w.briscola().tavolo();
    const Conteggi n = conta(w.briscola().stato());
    atteso(errori, w.isVisible(), QStringLiteral("the window is not shown"));
    atteso(errori, w.size() == forma.finestra,
           QStringLiteral("the window changed size to %1x%2").arg(w.width()).arg(w.height()));
    atteso(errori, w.windowTitle() == QStringLiteral("Trivanta"),
           QStringLiteral("window title '%1'").arg(w.windowTitle()));
    for (const auto& [nome, pos] : forma.posizioni) {
        const QWidget* child = w.findChild<QWidget*>(nome);
        atteso(errori, child != nullptr && child->pos() == pos,
               nome + QStringLiteral(" moved or vanished"));
    }

    for (std::size_t k = 0; k < 3; ++k) {
        confrontaPosto(errori, w, nomePosto("user", k), t.user[k], pixels);
        confrontaPosto(errori, w, nomePosto("pc", k), t.pc[k], pixels);
    }
    confrontaPosto(errori, w, QStringLiteral("terrauser"), t.terrauser, pixels);
    confrontaPosto(errori, w, QStringLiteral("terrapc"), t.terrapc, pixels);
    confrontaPosto(errori, w, QStringLiteral("cartabriscola"), t.cartabriscola, pixels);

    // At most one marker, around a card that is shown.
    int visibili = 0;
    QImage client;
    if (pixels) {
        if (QWidget* area = w.findChild<QWidget*>(QStringLiteral("client"))) {
            client = area->grab().toImage();
        }
    }
    for (std::size_t k = 0; k < 3; ++k) {
        const QWidget* shape = w.findChild<QWidget*>(nomePosto("Shape2", k));
        const QWidget* card = w.findChild<QWidget*>(nomePosto("user", k));
        if (shape == nullptr || card == nullptr) {
            errori << nomePosto("Shape2", k) + QStringLiteral(" or its card is missing");
            continue;
        }
        atteso(errori, shape->isVisible() == t.Shape2[k],
               nomePosto("Shape2", k) + QStringLiteral(" differs from the table value"));
        if (shape->isVisible()) {
            ++visibili;
            atteso(errori, card->isVisible(),
                   nomePosto("Shape2", k) + QStringLiteral(" is shown around a hidden card"));
        }
        if (!client.isNull()) {
            atteso(errori, rossoSopra(client, shape) == shape->isVisible(),
                   nomePosto("Shape2", k) + QStringLiteral(" is drawn wrongly on screen"));
        }
    }
    atteso(errori, visibili <= 1, QStringLiteral("%1 markers on screen").arg(visibili));

    const auto* bar = w.findChild<QLabel*>(QStringLiteral("StatusBar1"));
    atteso(errori, bar != nullptr && bar->text() == testoStato(n),
           QStringLiteral("status bar reads '%1', the piles give '%2'")
               .arg(bar ? bar->text() : QString(), testoStato(n)));
    const auto* gioca = w.findChild<QPushButton*>(QStringLiteral("giocatautente"));
    atteso(errori, gioca != nullptr && gioca->isVisible() && gioca->isEnabled(),
           QStringLiteral("the Gioca button cannot be pressed"));
    return errori;
}

QStringList controllaBox(const StatoGioco& s, const Tavolo& t, const Message& m) {
    QStringList errori = controllaCodici(s);
    const Conteggi n = conta(s);
    const QString testo = QString::fromStdString(m.text);
    const auto titolo = [&m](const char* atteso) { return m.title && *m.title == atteso; };

    if (m.text == testi::DaraCarteUser || m.text == testi::DaraCartePc) {
        atteso(
            errori, (m.text == testi::DaraCarteUser) == (s.MazziereUser == 1),
            QStringLiteral("dealer box '%1' with MazziereUser %2").arg(testo).arg(s.MazziereUser));
    } else if (m.text == testi::PrendeUtente || m.text == testi::PrendePc) {
        // Both cards stay on the table, and on screen, while the taker is named.
        atteso(errori, n[PosTerraPc] == 1 && n[PosTerraUser] == 1,
               QStringLiteral("'%1' with %2 + %3 cards on the table")
                   .arg(testo)
                   .arg(n[PosTerraUser])
                   .arg(n[PosTerraPc]));
        atteso(errori,
               t.terrauser.immagine == unicaCarta(s, PosTerraUser) &&
                   t.terrapc.immagine == unicaCarta(s, PosTerraPc) && t.terrauser.visibile &&
                   t.terrapc.visibile,
               QStringLiteral("the table does not show both cards while '%1' is open").arg(testo));
        atteso(errori, titolo(testi::TitoloFinestra), QStringLiteral("taker box title"));
    } else if (titolo(testi::TitoloFinePartita)) {
        static const QRegularExpression score(
            QStringLiteral("Punti PC=(\\d+)\r\nPunti USER=(\\d+)"));
        const auto match = score.match(testo);
        const int pc = match.captured(1).toInt();
        const int user = match.captured(2).toInt();
        atteso(errori, match.hasMatch() && pc + user == 120,
               QStringLiteral("score box does not add up to 120: %1").arg(testo));
        atteso(errori, pc == puntiIn(s, PosPresaPc) && user == puntiIn(s, PosPresaUser),
               QStringLiteral("score %1/%2, the piles hold %3/%4")
                   .arg(pc)
                   .arg(user)
                   .arg(puntiIn(s, PosPresaPc))
                   .arg(puntiIn(s, PosPresaUser)));
        atteso(errori, n[PosPresaPc] + n[PosPresaUser] == 40,
               QStringLiteral("game over with %1 cards in the piles")
                   .arg(n[PosPresaPc] + n[PosPresaUser]));
        atteso(errori, q(t.StatusBar1) == testoStato(n),
               QStringLiteral("status bar '%1' under the score").arg(q(t.StatusBar1)));
    } else if (m.text == testi::Saluto) {
        atteso(errori, s.PartitaFinita, QStringLiteral("goodbye with the game still running"));
    } else if (m.text == testi::ErroreVincitore) {
        errori << QStringLiteral("the trick had no winner");
    } else {
        const bool nota = titolo(testi::TitoloSicuro) || titolo(testi::TitoloInformazioni) ||
                          testo.startsWith(QStringLiteral("Impossibile aprire il browser")) ||
                          (testo.startsWith(QStringLiteral("Error ")) &&
                           testo.endsWith(QStringLiteral("in procedure LaunchBrowser")));
        atteso(errori, nota, QStringLiteral("unexpected box '%1'").arg(testo));
    }
    return errori;
}

} // namespace trivanta::monkey
