#pragma once

#include "app/model/Model.h"
#include "app/net/SessionCredentials.h"
#include "services/SocialRequest.h"
#include "services/SocialRequestDelegate.h"
#include "services/SocialSession.h"
#include "services/SocialSessionDelegate.h"
#include "platform/foundation/Value.h"

#include <QByteArray>
#include <QSet>
#include <QString>
#include <QUrl>

#include <memory>

// The application's one configuration: the forum's base address from the
// bundle settings, the forum settings of the last "api_init" answer (kept in
// the user defaults as a keyed archive), the forum API key, and the small
// social-network glue used for sharing. Every API address is composed and
// signed here.
class Config : public Model, public SocialSessionDelegate, public SocialRequestDelegate {
public:
    // Feature bits of the forum ("features" of the "api_init" answer).
    enum Feature : int {
        BlogEnabled = 1,
        CmsEnabled = 2,
        PmsEnabled = 4,
        SearchesEnabled = 8,
        GroupsEnabled = 16,
        AlbumsEnabled = 32,
        FriendsEnabled = 64,
        VisitorTrackingEnabled = 128,
        VisitorMessagingEnabled = 256,
        MultiTypeSearch = 512,
        TaggingEnabled = 1024,
    };
    // Content kinds asked of contentType().
    enum ContentKind : int {
        ContentArticle = 1,
        ContentBlogEntry = 2,
        ContentPost = 3,
        ContentForum = 4,
        ContentBlogComment = 5,
        ContentVisitorMessage = 6,
        ContentPicture = 7,
        ContentAlbum = 8,
    };

    Config();
    ~Config() override;

    // The shared configuration, restored from the user defaults on first use.
    static Config& getInstance();
    // Forgets the shared configuration, as a restart would: the next
    // getInstance() restores it from the store.
    static void resetInstance();

    static const PropertyTable& propertyTable();
    const PropertyTable& properties() const override { return propertyTable(); }

    // Stores the archive under the user-defaults key "config".
    void save();
    // Takes the forum settings of an "api_init" answer: the version, title,
    // address, active flag, forum software version, closed reason, home
    // page, the "show" switches that are on, the feature bits, and the
    // content types when the answer carries them.
    void applyApiInit(const Value& answer);

    // Forum settings.
    qint32 apiversion() const { return m_apiversion; }
    void setApiversion(qint32 value) { m_apiversion = value; }
    bool bbactive() const { return m_bbactive; }
    void setBbactive(bool value) { m_bbactive = value; }
    bool isPaidSubscription() const { return m_paidsubscription; }
    void setPaidsubscription(bool value) { m_paidsubscription = value; }
    QString bbtitle() const { return m_bbtitle; }
    void setBbtitle(const QString& value) { m_bbtitle = value; }
    QString bburl() const { return m_bburl; }
    void setBburl(const QString& value) { m_bburl = value; }
    // The built-in forum API key; the stored one only if the built-in were empty.
    QString bbkey() const;
    void setBbkey(const QString& value) { m_bbkey = value; }
    // The forum's "show" switches that are on.
    QSet<QString> show() const { return m_show; }
    void setShow(const QSet<QString>& value) { m_show = value; }
    QString murmoraversion() const { return m_murmoraversion; }
    void setMurmoraversion(const QString& value) { m_murmoraversion = value; }
    QString bbclosedreason() const { return m_bbclosedreason; }
    void setBbclosedreason(const QString& value) { m_bbclosedreason = value; }
    QString forumhome() const { return m_forumhome; }
    void setForumhome(const QString& value) { m_forumhome = value; }
    QString socialName() const { return m_socialName; }
    void setSocialName(const QString& value) { m_socialName = value; }

    // Feature bits.
    qint32 featuresInt() const { return m_features; }
    void setFeaturesInt(qint32 value) { m_features = value; }
    bool isFeatureEnabled(int mask) const { return (m_features & mask) > 0; }
    // Sets or clears each known bit by the truth of its key (missing: false);
    // anything but a dictionary clears every bit.
    void setFeatures(const Value& features);

    // Content-type name to id; when unset, the copy under the user-defaults
    // key "contentTypes" is taken and kept. Absent when neither exists.
    Value contentTypes() const;
    // A dictionary is also written to the user defaults; anything else unsets the field.
    void setContentTypes(const Value& contentTypes);
    // The id of a kind 1-8 (absent when the forum did not send it); the empty
    // text for any other kind.
    Value contentType(int kind) const;

    // Image addresses: "base/path", or the path itself when it is already an
    // http or https address (the scheme in any letter case).
    QString imageURLStringWithString(const QString& path) const;
    QUrl imageURLWithString(const QString& path) const;

    // Address building and signing (ApiAddress does the work).
    // API addresses: "base/api.php?" and the signed query of the current
    // session; without a session always the session opening "api_init".
    QUrl URLWithString(const QString& method) const;
    QUrl URLWithString(const QString& method, const ValueDict& parameters) const;
    QString URLTextWithString(const QString& method, const ValueDict& parameters) const;
    // MD5 over the sorted, encoded parameters with "api_m", then the user's
    // token, client id, secret and the API key.
    QString getServerRequestSignature(const QString& method, const ValueDict& parameters,
                                      const SessionCredentials* user) const;
    // The signature the forum's "Authorization" header must carry for this
    // body; null when there is no session token, and null for a body that is
    // not valid UTF-8, so that such a body never passes as signed.
    QString signatureForResponse(const QByteArray& body) const;
    // The same call addressed again with the current session's values.
    QUrl URLwithCurrentAccessTokenForURL(const QUrl& url) const;
    // The "api_s" value of the address: null when absent, "" when empty.
    static QString extractApiAccessTokenFromURL(const QUrl& url);
    // Spaces become "+", then everything but letters, digits and
    // ! $ & ' ( ) * + , - . / : ; = ? @ _ ~ is percent-encoded as UTF-8.
    static QString encodeString(const QString& text);
    // Appends "key=value", after "&" unless the text is empty; nothing is encoded.
    static void appendParameterToString(QString& text, const QString& key, const QString& value);

    // Social-network glue.
    std::shared_ptr<SocialSession> socialSession();
    void didLogin(SocialSession* session, quint64 uid) override;
    void sessionDidLogout(SocialSession* session) override;
    void didLoad(SocialRequest* request, const Value& result) override;
    // The name stays unknown; nothing is shown or sent again.
    void didFailWithError(SocialRequest* request, const Error& error) override;
    // The name request still waiting for its answer, or null.
    SocialRequest* pendingSocialRequest() const { return m_socialRequest.get(); }

private:
    // Archive forms of the fields that are no plain values.
    Value showValue() const;
    void setShowValue(const Value& value);

    std::shared_ptr<SocialSession> m_socialSession;
    std::shared_ptr<SocialRequest> m_socialRequest;
    QString m_socialName;
    qint32 m_apiversion = 0;
    bool m_bbactive = false;
    bool m_paidsubscription = false;
    QString m_bbtitle;
    QString m_bburl;
    QString m_bbkey;
    QSet<QString> m_show;
    QString m_murmoraversion;
    QString m_bbclosedreason;
    QString m_forumhome;
    mutable Value m_contentTypes;
    qint32 m_features = 0;
};
