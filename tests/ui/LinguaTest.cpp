// The buttons of a Yes/No box in the system's language, as the program
// loads Qt's translation at start. Run once per language by CTest, with the
// words a user of that language expects in SI_ATTESO and NO_ATTESO; a
// language Qt has no translation for must give the English words without a
// warning.
#include "QtMessageBoxes.h"
#include "Sistema.h"
#include "Testi.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace trivanta;

namespace {

QStringList avvisi;

void RaccogliAvvisi(QtMsgType tipo, const QMessageLogContext&, const QString& testo) {
    if (tipo != QtDebugMsg && tipo != QtInfoMsg) {
        avvisi.append(testo);
    }
}

} // namespace

class LinguaTest : public QObject {
    Q_OBJECT

private slots:
    void iBottoniParlanoLaLinguaDelSistema() {
        const QString si = qEnvironmentVariable("SI_ATTESO");
        const QString no = qEnvironmentVariable("NO_ATTESO");
        QVERIFY2(!si.isEmpty() && !no.isEmpty(), "SI_ATTESO and NO_ATTESO name the words");
        const QtMessageHandler qtest = qInstallMessageHandler(RaccogliAvvisi);
        CaricaTraduzioneQt(*QCoreApplication::instance());
        qInstallMessageHandler(qtest);
        QVERIFY2(avvisi.isEmpty(), qPrintable(avvisi.join(QLatin1Char('\n'))));

        // Each box is read, then answered by the button a user of that
        // language would press for the answer wanted.
        QtMessageBoxes boxes(nullptr, {});
        const Message domanda{testi::Sicuro, testi::TitoloSicuro, Buttons::YesNo, Icon::None};
        for (const Answer voluta : {Answer::Yes, Answer::No}) {
            QString letti;
            QTimer::singleShot(0, [&] {
                auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                if (box == nullptr) {
                    return;
                }
                const QList<QAbstractButton*> bottoni = box->buttons();
                for (QAbstractButton* b : bottoni) {
                    letti += b->text() + QLatin1Char('|');
                }
                const QString parola = voluta == Answer::Yes ? si : no;
                for (QAbstractButton* b : bottoni) {
                    if (b->text() == parola) {
                        b->click();
                        return;
                    }
                }
                box->done(QMessageBox::Cancel); // neither word: the answer is checked below
            });
            const Answer risposta = boxes.show(domanda);
            QVERIFY2(letti.contains(si + QLatin1Char('|')) && letti.contains(no + QLatin1Char('|')),
                     qPrintable(QStringLiteral("the buttons read ") + letti));
            QCOMPARE(risposta, voluta);
        }
    }
};

QTEST_MAIN(LinguaTest)
#include "LinguaTest.moc"
