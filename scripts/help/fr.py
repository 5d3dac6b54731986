# French help pages (see en.py).

CONTENTS = "Sommaire"
ERROR_TITLE = "Page introuvable"

PAGES = {
"hlp_index": ("Aide de Tarvelo Desktop", """
<p>Tarvelo Desktop enregistre votre temps de travail et vos dépenses sur votre ordinateur et les
envoie à votre compte du Tarvelo Web Service.</p>
<h3>Pour commencer</h3>
<ul>
<li><a href="hlp_WhatIs.htm">Qu'est-ce que Tarvelo Desktop</a></li>
<li><a href="hlp_Login.htm">Première connexion</a> : relier votre compte de l'ordinateur à votre compte Tarvelo</li>
</ul>
<h3>Les fenêtres du programme</h3>
<ul>
<li><a href="hlp_frmStart.htm">Enregistrement en direct</a> : des chronomètres qui mesurent votre temps pendant que vous travaillez</li>
<li><a href="hlp_frmDaily.htm">Journal de temps du jour</a> : les saisies de temps d'une journée</li>
<li><a href="hlp_frmDailyExp.htm">Dépenses du jour</a> : les dépenses d'une journée</li>
<li><a href="hlp_frmSynch.htm">Synchronisation</a> : envoyer vos saisies et télécharger vos projets</li>
<li><a href="hlp_frmOptions.htm">Options</a> : compte, horaires, langue, raccourci clavier</li>
</ul>
<h3>Vidéos d'aide</h3>
<ul>
<li><a href="[]hlp_LiveRecording.gif">Enregistrer le temps avec les chronomètres</a></li>
<li><a href="[]hlp_RecordTime.gif">Saisir le temps dans le journal</a></li>
</ul>
<p>Le Tarvelo Web Service lui-même : <a href="==site">ouvrir son site web</a> dans votre navigateur.</p>
"""),

"hlp_WhatIs": ("Qu'est-ce que Tarvelo Desktop", """
<p>Tarvelo Desktop est le compagnon de bureau du Tarvelo Web Service, où votre organisation
tient ses projets, ses tâches et ses activités. Il vous permet :</p>
<ul>
<li>d'enregistrer votre temps de travail en direct avec des chronomètres, démarrés et arrêtés
depuis la <a href=">>frmStart">fenêtre des chronomètres</a>, depuis le menu de son icône près
de l'horloge ou avec un raccourci clavier (Ctrl+F10 sauf si vous en choisissez un autre) ;</li>
<li>de tenir un <a href="hlp_frmDaily.htm">journal de temps du jour</a> et vos
<a href="hlp_frmDailyExp.htm">dépenses du jour</a>, même sans connexion Internet ;</li>
<li>d'envoyer ce que vous avez saisi au service et de télécharger vos projets, tâches et
activités dans la <a href="hlp_frmSynch.htm">fenêtre de synchronisation</a>.</li>
</ul>
<h3>Où sont vos données</h3>
<p>Tout ce que vous saisissez est conservé dans un fichier de base de données protégé par mot
de passe, dans le dossier du programme, avec un profil pour chaque personne qui utilise
l'ordinateur. Chaque saisie indique si elle a été envoyée :</p>
<table border="1" cellpadding="3" cellspacing="0">
<tr><th>Marque</th><th>Signification</th></tr>
<tr><td>Normale</td><td>enregistrée sur cet ordinateur, pas encore envoyée</td></tr>
<tr><td>Coche</td><td>acceptée par le service ; elle ne peut plus être modifiée</td></tr>
<tr><td>Flèches</td><td>l'envoi a échoué ; elle sera envoyée à nouveau</td></tr>
<tr><td>Point d'interrogation</td><td>refusée par le service ; corrigez-la et envoyez-la à nouveau</td></tr>
<tr><td>Plus</td><td>une ligne nouvelle ou libre sans tâche (temps) ou sans catégorie (dépenses)</td></tr>
</table>
<h3>La fenêtre principale</h3>
<p>La barre de gauche ouvre les fenêtres : <b>Chronomètres</b>, <b>Journal des temps</b>,
<b>Dépenses</b> et <b>Synchroniser</b>. Sous les fenêtres figurent votre nom et quatre drapeaux
qui changent d'un coup la langue de tout le programme. La ligne d'état en bas indique ce que
fait le programme et si vous êtes connecté à Internet.</p>
<p>Chaque jour, au premier démarrage avec une connexion, le programme télécharge de lui-même
vos projets, tâches et activités.</p>
"""),

"hlp_Login": ("Première connexion", """
<p>La première fois que vous démarrez Tarvelo Desktop sur cet ordinateur, il crée sa base de
données puis ouvre la fenêtre de connexion, qui relie votre compte de l'ordinateur à votre
compte du Tarvelo Web Service.
<a href=">>frmLogin">Afficher la fenêtre de connexion</a> (en lecture seule).</p>
<ol>
<li><b>Nom d'utilisateur du PC</b> indique le nom avec lequel vous ouvrez votre session sur cet
ordinateur. Votre profil est conservé sous ce nom.</li>
<li>Tapez le <b>Nom d'utilisateur</b> et le <b>Mot de passe</b> de votre compte Tarvelo, puis
le mot de passe une seconde fois dans <b>Confirmer le mot de passe</b>.</li>
<li>Cliquez sur <b>Authentifier</b>. Le programme demande au service si le compte existe ; il
faut une connexion Internet. Le cadre Informations affiche la réponse : le nom complet connu du
service, ou la raison de l'échec (nom ou mot de passe erroné, pas de connexion).</li>
<li>Une fois la vérification réussie, cliquez sur <b>OK</b>. Le programme crée votre profil
local et ouvre la fenêtre des chronomètres. Vos projets sont téléchargés aussitôt.</li>
</ol>
<p><b>Annuler</b> quitte sans créer de profil ; le programme se ferme alors, car il ne peut pas
fonctionner sans profil. Votre mot de passe est conservé chiffré. Vous pourrez changer de
compte plus tard dans les <a href="hlp_frmOptions.htm">options</a>.</p>
"""),

"hlp_frmStart": ("Enregistrement en direct", """
<p>La fenêtre des chronomètres enregistre votre temps pendant que vous travaillez. Chaque ligne
de sa liste est un chronomètre pour une activité d'une tâche de vos projets ; un seul
chronomètre tourne à la fois. <a href=">>frmStart">Amener la fenêtre des chronomètres au premier
plan</a> ou <a href="[]hlp_LiveRecording.gif">regarder la vidéo d'aide</a>.</p>
<h3>Charger des chronomètres</h3>
<ul>
<li><b>Ajouter</b> ouvre la liste de vos projets : cochez les activités à enregistrer et
confirmez. Chacune devient un chronomètre de la liste.</li>
<li><b>Retirer</b> enlève le chronomètre sélectionné de la liste. Un chronomètre en marche ne
peut pas être retiré : arrêtez-le d'abord.</li>
</ul>
<h3>Enregistrer</h3>
<ul>
<li><b>Démarrer</b> lance le chronomètre sélectionné ; celui qui tourne est d'abord arrêté.</li>
<li><b>Arrêter</b> arrête le chronomètre sélectionné et enregistre son temps comme saisie du
<a href="hlp_frmDaily.htm">journal de temps du jour</a>.</li>
<li><b>Annuler</b> arrête le chronomètre sélectionné sans enregistrer son temps.</li>
<li><b>Enregistrement rapide</b> lance aussitôt un nouvel enregistrement ; vous choisissez sa
tâche et son activité ensuite avec la flèche à côté de <b>Projet</b>.</li>
</ul>
<p><b>Activité en cours</b> montre le chronomètre sélectionné : son heure de départ et le temps
écoulé. Dans <b>Modifier l'activité</b> vous choisissez son projet, sa tâche et son activité avec
la flèche et écrivez un commentaire, enregistré avec le temps.</p>
<h3>Sans la fenêtre</h3>
<p>L'icône près de l'horloge a un menu pour ouvrir ou masquer le programme, démarrer un
enregistrement rapide et arrêter l'enregistrement ; tant qu'un chronomètre tourne, l'icône
s'anime. Le raccourci clavier (Ctrl+F10 sauf si vous en avez choisi un autre dans les
<a href="hlp_frmOptions.htm">options</a>) démarre et arrête l'enregistrement depuis n'importe
quel programme.</p>
<p>Si vous fermez le programme pendant qu'un chronomètre tourne, il demande s'il faut
enregistrer le temps. Les chronomètres arrêtés mais non enregistrés sont gardés pour le
prochain démarrage.</p>
<h3>Menus</h3>
<ul>
<li><b>Fichier</b> : Rechercher des mises à jour, À propos, Quitter.</li>
<li><b>Options</b> : la <a href="hlp_frmOptions.htm">fenêtre des options</a> (pas pendant qu'un chronomètre tourne).</li>
<li><b>Aide</b> : cette aide, l'aide sur cette fenêtre et la vidéo d'aide.</li>
</ul>
"""),

"hlp_frmDaily": ("Journal de temps du jour", """
<p>Le journal liste les saisies de temps d'une journée : leur activité, leur début et leur fin.
<a href=">>frmDaily">Ouvrir le journal de temps du jour</a> ou
<a href="[]hlp_RecordTime.gif">regarder la vidéo d'aide</a>.</p>
<h3>Choisir la journée</h3>
<ul>
<li><b>Choisir une date</b> liste les jours qui ont des saisies, et aujourd'hui.</li>
<li>Les boutons fléchés vont au jour précédent et au jour suivant qui ont des saisies.</li>
<li><b>Nouveau jour</b> ouvre un calendrier pour ajouter un autre jour (ni après aujourd'hui,
ni un jour déjà dans la liste) ; <b>Supprimer le jour</b> supprime toutes les saisies du jour
affiché.</li>
</ul>
<h3>Saisir du temps</h3>
<ol>
<li>Cliquez sur <b>Nouveau</b>. Le programme remplit la première ligne libre du jour, ou ajoute
une ligne.</li>
<li>Indiquez l'<b>heure de début</b> et l'<b>heure de fin</b> : tapez-les au format hh:mm, ou
cliquez sur leurs libellés pour utiliser le sélecteur d'heure. La durée suit ; vous pouvez
aussi taper les heures, minutes et secondes de la durée.</li>
<li>Choisissez le projet, la tâche et l'activité avec la flèche à côté de <b>Projet</b> et
écrivez un commentaire si vous le souhaitez.</li>
<li>Cliquez sur <b>Enregistrer</b>. Une saisie ne peut chevaucher ni une autre saisie du jour,
ni le chronomètre en marche.</li>
</ol>
<p><b>Supprimer</b> supprime la saisie sélectionnée ; <b>Fermer</b> ferme la fenêtre et demande
d'abord confirmation si une saisie a des modifications non enregistrées. Une saisie acceptée par
le service est grise et ne peut plus être modifiée.</p>
<h3>Menus</h3>
<ul>
<li><b>Saisies</b> : ajouter, enregistrer, supprimer la sélection, supprimer toutes les saisies
du jour, et <b>Temps libre/occupé</b>, qui affiche les moments libres de votre journée de
travail comme lignes à transformer en saisies.</li>
<li><b>Jours</b> : ajouter un jour, supprimer le jour, supprimer tous les jours.</li>
<li><b>Synchro</b> : envoyer au service la saisie sélectionnée ou toutes les saisies non
envoyées du jour. Quand l'envoi immédiat est activé dans les <a href="hlp_frmOptions.htm">options</a>,
chaque saisie est envoyée dès que vous l'enregistrez.</li>
</ul>
"""),

"hlp_frmDailyExp": ("Dépenses du jour", """
<p>La fenêtre des dépenses liste les dépenses d'une journée avec leur montant, leur bénéficiaire
et leur catégorie, ainsi que leur total. Elle ne s'ouvre que si au moins un de vos projets
accepte des dépenses. <a href=">>frmDailyExp">Ouvrir les dépenses du jour</a>.</p>
<h3>Choisir la journée</h3>
<p>Comme dans le <a href="hlp_frmDaily.htm">journal de temps du jour</a> : la liste des jours,
les boutons précédent et suivant, <b>Nouveau jour</b> avec le calendrier et
<b>Supprimer le jour</b>.</p>
<h3>Saisir une dépense</h3>
<ol>
<li>Cliquez sur <b>Nouveau</b>.</li>
<li>Choisissez la <b>catégorie</b> de la dépense, tapez le <b>bénéficiaire</b> ou choisissez-en
un déjà utilisé, et tapez le <b>montant</b> ; la calculatrice à côté aide à additionner un
reçu.</li>
<li>Choisissez avec la flèche le projet et la tâche de la dépense, et l'heure avec le
sélecteur d'heure. Un code de reçu et un commentaire sont facultatifs.</li>
<li>Cliquez sur <b>Enregistrer</b>. Le total du jour s'affiche sous la liste.</li>
</ol>
<p><b>Supprimer</b> supprime la dépense sélectionnée et <b>Fermer</b> ferme la fenêtre, en
demandant d'abord confirmation pour les modifications non enregistrées.</p>
<h3>Menus</h3>
<ul>
<li><b>Dépenses</b> : ajouter, enregistrer, supprimer, et supprimer les dépenses du jour ou de
tous les jours déjà acceptées par le service.</li>
<li><b>Jours</b> : ajouter un jour, supprimer le jour, supprimer tous les jours.</li>
<li><b>Synchro</b> : envoyer la dépense sélectionnée ou toutes les dépenses non envoyées du jour.</li>
</ul>
"""),

"hlp_frmSynch": ("Synchronisation", """
<p>La fenêtre de synchronisation échange vos données avec le Tarvelo Web Service. Il faut une
connexion Internet ; sans connexion, le programme demande confirmation avant d'ouvrir la
fenêtre. <a href=">>frmSynch">Ouvrir la fenêtre de synchronisation</a>.</p>
<h3>Mettre à jour les tables</h3>
<p>Télécharge vos projets, tâches, activités et catégories de dépenses. La liste de gauche
montre ensuite ce qui a été reçu ; ce qui n'existe plus sur le service est retiré de cet
ordinateur. Le programme le fait aussi de lui-même une fois par jour.</p>
<h3>Synchroniser temps et dépenses</h3>
<p>Envoie chaque saisie de temps et chaque dépense qui n'a pas encore été acceptée :</p>
<ul>
<li>Dans <b>Temps</b> et <b>Dépenses</b>, choisissez le premier et le dernier jour à envoyer
(<b>Du</b> et <b>Au</b>), ou &lt;ALL&gt; pour tous.</li>
<li>Cochez <b>Ne PAS synchroniser</b> pour laisser de côté les temps ou les dépenses.</li>
</ul>
<p>Le <b>Journal de connexion</b> à gauche liste chaque étape et la réponse du service ; cliquez
sur une ligne pour la lire en entier sous la liste. Le menu <b>Affichage</b> passe du journal aux
projets et catégories de dépenses reçus en dernier, et les développe ou les réduit.</p>
<p><b>Fermer</b> ferme la fenêtre.</p>
"""),

"hlp_frmOptions": ("Options", """
<p>La fenêtre des options contient les réglages de votre profil. Elle ne s'ouvre pas pendant
qu'un chronomètre tourne. <a href=">>frmOptions">Ouvrir les options</a>.</p>
<h3>Utilisateur</h3>
<p>Votre nom d'utilisateur et votre mot de passe Tarvelo. <b>Vérifier</b> les contrôle auprès du
service avant l'enregistrement (il faut une connexion Internet).</p>
<h3>Options</h3>
<p>Choisissez une option dans l'arbre de gauche ; son réglage s'affiche à côté :</p>
<ul>
<li><b>Horaires de travail</b> : le début et la fin de votre journée de travail, utilisés pour
les nouvelles saisies et pour le temps libre du <a href="hlp_frmDaily.htm">journal du jour</a>.</li>
<li><b>Langue</b> : la langue du programme.</li>
<li><b>Raccourci clavier</b> : appuyez sur la nouvelle combinaison de touches dans la case ;
<b>Retirer</b> désactive le raccourci.</li>
<li>Options <b>Oui / Non</b> : démarrer avec le bureau, envoyer aussitôt les saisies
enregistrées, rechercher les nouvelles versions, afficher des bulles près de l'horloge.</li>
<li><b>Délai d'attente</b> : combien de secondes le programme attend le service.</li>
</ul>
<h3>Boutons</h3>
<ul>
<li><b>Enregistrer</b> conserve vos modifications ; <b>Fermer</b> ferme la fenêtre.</li>
<li>L'annulation des modifications réaffiche les réglages en vigueur.</li>
<li>Les valeurs par défaut remettent chaque option à sa valeur initiale (votre compte et votre langue restent).</li>
</ul>
"""),
}

ERROR_BODY = """
<p>Cette page d'aide n'est pas disponible. Elle n'a peut-être pas été installée avec le programme.</p>
<p>Revenez en arrière avec la flèche de la barre d'outils, ou ouvrez le <a href="hlp_index.htm">sommaire
de l'aide</a>.</p>
"""
